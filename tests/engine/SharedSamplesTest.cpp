#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <vector>

#include "colour/model/ColorMap.h"
#include "engine/PictureRenderer.h"
#include "engine/SharedSamples.h"

namespace {

// A view of detail everywhere, with the smooth colouring's fractions.
PictureJob Job(long double extentRe, int width, int height, int samples)
{
    const long double extentIm = extentRe * height / width;
    PictureJob job;
    job.region = PictureRegion{Iteration{1, FormulaParams{}, 1024},
                               PlaneRegion{-0.743643887037151L, 0.131825904205330L, extentRe, extentIm,
                                           extentRe / width, extentIm / height, width, height}};
    job.width = width;
    job.height = height;
    job.samples = samples;
    job.coloring = Coloring::Smooth;
    FillPresetColorMap(job.colors, kPresetSetting1);
    return job;
}

std::optional<SharedSamples> Shared(const PictureJob& outer, const PictureJob& inner)
{
    return SamplesShared(outer.region.iteration, outer.region.plane, inner.region.iteration, inner.region.plane,
                         outer.width * outer.samples, outer.height * outer.samples, true, size_t(1) << 20);
}

struct Drawn {
    std::vector<EscapeCount> counts;  // row after row of bands, as the renderer keeps them
    std::vector<float> fractions;
    std::vector<uint8_t> rgb;
};

// The picture in bands of 7 rows, sharing as asked.
Drawn Draw(const PictureJob& job, const SharedSamples* from, SharedSamples* into)
{
    PictureRenderer renderer(job);
    renderer.ShareSamples(from, into);
    const std::atomic<bool> never{false};
    Drawn drawn;
    std::vector<uint8_t> rgb(size_t(job.width) * 3 * 7);
    for (int y = 0; y < job.height; y += 7) {
        const int rows = std::min(7, job.height - y);
        EXPECT_TRUE(renderer.ComputeRows(y, rows, never));
        renderer.PaintRows(rgb.data());
        drawn.counts.insert(drawn.counts.end(), renderer.Counts().begin(), renderer.Counts().end());
        drawn.fractions.insert(drawn.fractions.end(), renderer.Fractions().begin(), renderer.Fractions().end());
        drawn.rgb.insert(drawn.rgb.end(), rgb.begin(), rgb.begin() + long(job.width) * 3 * rows);
    }
    return drawn;
}

// The inner quarter taken from the picture of half the extents is what
// computing it gives, count for count and fraction for fraction, bands
// across the shared rows and odd pictures of an even sample grid included.
TEST(SharedSamplesTest, TheInnerQuarterTakenFromTheHalvedPictureIsWhatComputingItGives)
{
    const struct {
        int width, height, samples;
    } sizes[] = {{40, 30, 1}, {42, 26, 1}, {33, 25, 2}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(size.width);
        const PictureJob outer = Job(0x1p-20L, size.width, size.height, size.samples);
        const PictureJob inner = Job(0x1p-21L, size.width, size.height, size.samples);
        std::optional<SharedSamples> shared = Shared(outer, inner);
        ASSERT_TRUE(shared);
        const int sw = size.width * size.samples, sh = size.height * size.samples;
        EXPECT_EQ(size_t(shared->Columns() * (shared->endRow - shared->firstRow)), size_t(sw / 2 * (sh / 2)));
        Draw(inner, nullptr, &*shared);
        const Drawn computed = Draw(outer, nullptr, nullptr);
        const Drawn taken = Draw(outer, &*shared, nullptr);
        EXPECT_EQ(taken.counts, computed.counts);
        EXPECT_EQ(taken.fractions, computed.fractions);
        EXPECT_EQ(taken.rgb, computed.rgb);

        // Every sample of the rectangle is taken, and none besides.
        SharedSamples poisoned = *shared;
        std::fill(poisoned.counts.begin(), poisoned.counts.end(), 7777);
        const Drawn marked = Draw(outer, &poisoned, nullptr);
        size_t poison = 0, differ = 0;
        for (size_t i = 0; i < marked.counts.size(); ++i) {
            poison += marked.counts[i] == 7777;
            differ += marked.counts[i] != computed.counts[i];
        }
        EXPECT_EQ(poison, poisoned.counts.size());
        EXPECT_EQ(differ, poison);
    }
}

TEST(SharedSamplesTest, NothingIsSharedUnlessTheGridsCoincideExactly)
{
    const PictureJob outer = Job(0x1p-20L, 40, 30, 1);
    const PictureJob inner = Job(0x1p-21L, 40, 30, 1);
    ASSERT_TRUE(Shared(outer, inner));
    // An odd side, a centre one bit away, an extent one bit from half, another limit.
    EXPECT_FALSE(Shared(Job(0x1p-20L, 41, 30, 1), Job(0x1p-21L, 41, 30, 1)));
    PictureJob moved = inner;
    moved.region.plane.centreX = std::nextafter(moved.region.plane.centreX, 0.0L);
    EXPECT_FALSE(Shared(outer, moved));
    PictureJob wider = inner;
    wider.region.plane.extentY = std::nextafter(wider.region.plane.extentY, 1.0L);
    EXPECT_FALSE(Shared(outer, wider));
    PictureJob deeper = inner;
    deeper.region.iteration.limit = 2048;
    EXPECT_FALSE(Shared(outer, deeper));
}

}  // namespace
