#pragma once
// The deep renderer: views whose pixels are closer together than 80-bit
// numbers tell apart. One reference orbit of the view's centre in high
// precision (and, for the quartic, one from each other critical point);
// every pixel iterates only its difference from it in long double (down to
// pixels of 10^-4912, no scaled exponents needed), rebased onto the start of
// an orbit where the difference loses its meaning, and skips steps by
// bilinear approximation where that is valid. Any band of rows gives the
// very bits the whole picture has, with any number of threads.

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/deep/DeepJob.h"
#include "engine/deep/DeepPixel.h"

// How pixels are stepped: two at a time, z^2 + c by the x87 loop and the
// other formulas by its C++ twin (DeepPair.h); two at a time by the C++ loop
// for every formula; or one at a time, the plain loop the others are held to.
enum class DeepLoop { Paired, PairedPlain, Single };

struct DeepSettings {
    int threads = 0;            // 0: one a core
    DeepLoop loop = DeepLoop::Paired;
    bool bla = true;            // skip steps by bilinear approximation
    bool criticalOrbits = true; // type 4: rebase also onto orbits of its other critical points
};

struct DeepProgress {
    std::atomic<uint64_t> referenceSteps{0};
    std::atomic<int> rowsDone{0};
};

class DeepRenderer {
public:
    explicit DeepRenderer(const DeepJob& job, const DeepSettings& settings = {});
    ~DeepRenderer();
    DeepRenderer(const DeepRenderer&) = delete;
    DeepRenderer& operator=(const DeepRenderer&) = delete;

    // Why the job cannot be drawn, or DeepFault::None.
    DeepFault Fault() const { return fault_; }
    // Computes the reference orbits and their tables once, before the first
    // rows. False if the job is refused or cancel is set meanwhile.
    bool Prepare(const std::atomic<bool>& cancel, DeepProgress* progress = nullptr);
    // Rows [first, first + count) of the picture into out, row after row,
    // width pixels each. False, with out partly written, if the job is
    // refused or cancel is set. One call at a time.
    bool RenderRows(int first, int count, DeepPixel* out, const std::atomic<bool>& cancel,
                    DeepProgress* progress = nullptr);

    const DeepJob& Job() const { return job_; }
    long Bits() const { return bits_; }
    DeepStats Stats() const { return stats_; }
    // Reference points and table spans kept, over all orbits.
    size_t OrbitPoints() const;
    size_t TableSpans() const;

    using Orbits = DeepOrbits;  // the reference orbits and their tables, private to the renderer

private:
    DeepJob job_;
    DeepSettings settings_;
    DeepFault fault_;
    long bits_ = 0;
    std::unique_ptr<DeepOrbits> orbits_;
    DeepStats stats_;
};
