#pragma once
// Pictures of any size, off screen: a view's region of the plane drawn at a
// chosen size, each pixel the average of n x n samples, computed on every
// core with the render's own column kernels, in any colouring. At the view's
// own size with one sample a pixel has the very colour the on-screen render
// gives it.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "colour/model/ColorMap.h"
#include "engine/AutomaticLimit.h"
#include "engine/CountColors.h"
#include "engine/Iteration.h"
#include "engine/PictureDepth.h"
#include "engine/PlaneRegion.h"
#include "engine/deep/PreciseCentre.h"
#include "files/PictureFiles.h"

inline constexpr int kMaxPictureSide = 16384;
inline constexpr int kMaxSamples = 4;

// What a picture shows: the formula iterated, and the rectangle of the plane
// (at the view's own picture size, which the picture need not have).
struct PictureRegion {
    Iteration iteration{1, {}};  // its limit among it
    PlaneRegion plane{};
    PreciseCentre centre{};  // a deep view's precise centre; empty where plane's is the centre
};

struct PictureJob {
    PictureRegion region;
    int width = 0;
    int height = 0;
    // n: each pixel averages n x n samples, 1 to 4.
    int samples = 1;
    ColorMap colors{};
    Coloring coloring = kDefaultColoring;
    // Worker threads; 0 for one a core.
    int threads = 0;
};

// The counts of the region a picture shows at the view's own picture size
// (region.plane's width and height; the given size where it has none).
// What the histogram colouring of a picture spreads over the map, so that
// every band of a picture, at any size and with any samples, is coloured
// alike, and at the view's own size these are the picture's own counts, as
// on screen; and what the automatic limit of a picture off screen looks at.
// Nothing once cancel is set.
struct RegionCounts {
    CountTally tally;
    CountSummary summary;
};
std::optional<RegionCounts> CountsOfRegion(const PictureRegion& region, int fallbackWidth, int fallbackHeight,
                                           int threads, const std::atomic<bool>& cancel);

// The automatic limit of a picture off screen: from the region's limit, the
// rule (NextAutomaticLimit) on the counts of the region at each limit it
// chooses, until it chooses the limit it looked at. The region's own limit
// once cancel is set.
int32_t SettledAutomaticLimit(const PictureRegion& region, int fallbackWidth, int fallbackHeight, int threads,
                              const std::atomic<bool>& cancel);

// The average of colour words in linear light (the sRGB curve undone, summed
// and put back), so that fine filaments keep their brightness when a picture
// is made smaller. Integer arithmetic on a fixed table: the same bytes on
// every machine. One word averages to itself.
uint32_t LinearOfSrgb(uint8_t value);
uint8_t SrgbOfLinear(uint32_t linear);

// How the job's picture goes into a PNG: unfiltered where every pixel is a
// colour-map entry as it stands (one sample, a colouring that takes whole
// entries), else with the adaptive filters.
PngRowFilter PngRowFilterOf(const PictureJob& job);

// Rows rendered at a time for a picture of the given width: at most 16 Mi
// escape counts whatever the size, and tall enough that a band holds
// both halves of a view centred on the real axis, whose rows the kernels
// then copy to their mirror rows.
int BandRowsFor(int width, int samples);

struct SharedSamples;
class DeepRenderer;

class PictureRenderer {
public:
    explicit PictureRenderer(const PictureJob& job);
    ~PictureRenderer();

    // Rows [first, first + count) as 8-bit red, green, blue, 3 bytes a pixel,
    // row after row. False, with rgb partly written, once cancel is set. The
    // first call of the histogram colouring takes the tally first.
    bool RenderRows(int first, int count, uint8_t* rgb, const std::atomic<bool>& cancel);

    // RenderRows in two steps: the counts of the rows' samples, kept until
    // the next call, then those rows painted.
    bool ComputeRows(int first, int count, const std::atomic<bool>& cancel);
    void PaintRows(uint8_t* rgb) const;
    // The samples of the rows computed last, column after column,
    // SampleRows() a column; the smooth colouring's fractions beside them
    // (empty in the other colourings).
    const std::vector<EscapeCount>& Counts() const { return counts_; }
    const std::vector<float>& Fractions() const { return fractions_; }
    int SampleRows() const { return bandRows_ * job_.samples; }

    // Samples this picture shares with one drawn before it, taken from
    // `from` instead of being computed; samples it shares with one drawn
    // after it, kept into `into`. Either may be null; both outlive the rows.
    // A deep picture shares nothing (Deep()).
    void ShareSamples(const SharedSamples* from, SharedSamples* into);
    bool Deep() const { return deep_ != nullptr; }

private:
    void ComputeColumns(int firstSampleRow, int sampleRows, int firstColumn, int endColumn, EscapeCount* counts,
                        float* fractions) const;
    void ComputeRun(int x, const long double* cy, int rows, EscapeCount* counts, float* fractions,
                    EscapeEnd* ends) const;
    void KeepShared(int x, int firstSampleRow, int sampleRows, const EscapeCount* counts,
                    const float* fractions) const;
    bool MakePainter(const std::atomic<bool>& cancel);

    PictureJob job_;
    int sampleWidth_;
    int sampleHeight_;
    PlaneRegion samplePlane_;  // the region at the size of the samples
    int threads_;
    std::vector<long double> sampleX_;
    std::optional<CountPainter> painter_;
    std::vector<EscapeCount> counts_;
    std::vector<float> fractions_;
    int bandRows_ = 0;
    const SharedSamples* sharedFrom_ = nullptr;
    SharedSamples* sharedInto_ = nullptr;
    std::unique_ptr<DeepRenderer> deep_;  // a deep view's samples
};
