#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <vector>

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
    return job;
}

std::optional<SharedSamples> Shared(const PictureJob& outer, const PictureJob& inner)
{
    return SamplesShared(outer.region.iteration, outer.region.plane, inner.region.iteration, inner.region.plane,
                         outer.width * outer.samples, outer.height * outer.samples, true, size_t(1) << 20);
}

// The counts and fractions of the picture's samples, drawn in bands of 7 rows.
std::vector<float> Draw(const PictureJob& job, const SharedSamples* from, SharedSamples* into)
{
    PictureRenderer renderer(job);
    renderer.ShareSamples(from, into);
    const std::atomic<bool> never{false};
    std::vector<float> drawn;
    for (int y = 0; y < job.height; y += 7) {
        EXPECT_TRUE(renderer.ComputeRows(y, std::min(7, job.height - y), never));
        for (size_t i = 0; i < renderer.Counts().size(); ++i)
            drawn.insert(drawn.end(), {float(renderer.Counts()[i]), renderer.Fractions()[i]});
    }
    return drawn;
}

// The inner quarter taken from the picture of half the extents is what
// computing it gives, count for count and fraction for fraction, bands
// across the shared rows and odd pictures of an even sample grid included;
// every sample of it is taken, and none besides.
TEST(SharedSamplesTest, TheInnerQuarterTakenFromTheHalvedPictureIsWhatComputingItGives)
{
    const struct {
        int width, height, samples;
    } sizes[] = {{40, 30, 1}, {42, 26, 1}, {33, 25, 2}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(size.width);
        const PictureJob outer = Job(0x1p-20L, size.width, size.height, size.samples);
        std::optional<SharedSamples> shared = Shared(outer, Job(0x1p-21L, size.width, size.height, size.samples));
        ASSERT_TRUE(shared);
        Draw(Job(0x1p-21L, size.width, size.height, size.samples), nullptr, &*shared);
        const std::vector<float> computed = Draw(outer, nullptr, nullptr);
        EXPECT_EQ(Draw(outer, &*shared, nullptr), computed);

        std::fill(shared->counts.begin(), shared->counts.end(), 7777);
        const std::vector<float> marked = Draw(outer, &*shared, nullptr);
        size_t poison = 0, differ = 0;
        for (size_t i = 0; i < marked.size(); i += 2) {
            poison += marked[i] == 7777;
            differ += marked[i] != computed[i];
        }
        EXPECT_EQ(poison, shared->counts.size());
        EXPECT_EQ(poison, size_t(size.width * size.samples / 2 * (size.height * size.samples / 2)));
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
    PictureJob moved = inner, wider = inner, deeper = inner;
    moved.region.plane.centreX = std::nextafter(moved.region.plane.centreX, 0.0L);
    wider.region.plane.extentY = std::nextafter(wider.region.plane.extentY, 1.0L);
    deeper.region.iteration.limit = 2048;
    for (const PictureJob& job : {moved, wider, deeper})
        EXPECT_FALSE(Shared(outer, job));
}

}  // namespace
