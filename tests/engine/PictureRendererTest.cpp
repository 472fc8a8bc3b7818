#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "FakeHost.h"
#include "colour/model/ColorMap.h"
#include "engine/EngineState.h"
#include "engine/PictureRenderer.h"
#include "engine/RenderDriver.h"

namespace {

std::vector<uint8_t> Render(PictureJob job, int first = 0, int count = -1)
{
    if (count < 0)
        count = job.height;
    std::vector<uint8_t> rgb(size_t(job.width) * 3 * size_t(count));
    const std::atomic<bool> never{false};
    PictureRenderer renderer(job);
    EXPECT_TRUE(renderer.RenderRows(first, count, rgb.data(), never));
    return rgb;
}

PictureJob SeahorseJob(int width, int height, int samples)
{
    PictureJob job;
    job.region = PictureRegion{Iteration{1, FormulaParams{}},
                               PlaneRegion{-0.745L, 0.11L, 0.03L, 0.0225L, 0.03L / width, 0.0225L / height, width, height}};
    job.width = width;
    job.height = height;
    job.samples = samples;
    FillPresetColorMap(job.colors, kPresetSetting2);
    return job;
}

TEST(PictureRendererTest, LinearLightRoundTripsEveryValueAndAveragesBetweenThem)
{
    for (int b = 0; b < 256; ++b)
        ASSERT_EQ(SrgbOfLinear(LinearOfSrgb(uint8_t(b))), b);
    // Half of white's light is sRGB 188, not 128: plain averaging would darken.
    EXPECT_EQ(SrgbOfLinear((LinearOfSrgb(0) + LinearOfSrgb(255)) / 2), 188);
}

// n x n samples of a pixel are the n x n pixels of the same region drawn n
// times as large, averaged; so a band, a part or the whole give the same rows.
TEST(PictureRendererTest, SamplesAreThePixelsOfTheLargerPictureAveragedAndBandsJoinToTheWhole)
{
    const int w = 24, h = 18, n = 3;
    const std::vector<uint8_t> large = Render(SeahorseJob(w * n, h * n, 1));
    const std::vector<uint8_t> small = Render(SeahorseJob(w, h, n));
    int mixed = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int k = 0; k < 3; ++k) {
                uint32_t sum = 0;
                for (int j = 0; j < n; ++j)
                    for (int i = 0; i < n; ++i)
                        sum += LinearOfSrgb(large[(size_t(y * n + j) * size_t(w * n) + size_t(x * n + i)) * 3 + size_t(k)]);
                const uint8_t expected = SrgbOfLinear((sum + n * n / 2) / uint32_t(n * n));
                ASSERT_EQ(small[(size_t(y) * size_t(w) + size_t(x)) * 3 + size_t(k)], expected) << x << "," << y;
                mixed += expected != large[(size_t(y * n) * size_t(w * n) + size_t(x * n)) * 3 + size_t(k)];
            }
    EXPECT_GT(mixed, 0) << "the view has edges where samples differ";

    const std::vector<uint8_t> top = Render(SeahorseJob(w, h, n), 0, 7);
    const std::vector<uint8_t> rest = Render(SeahorseJob(w, h, n), 7, h - 7);
    std::vector<uint8_t> joined = top;
    joined.insert(joined.end(), rest.begin(), rest.end());
    EXPECT_EQ(joined, small);
}

// At the view's own size with one sample, every formula gives the very
// colours the render paints on screen.
TEST(PictureRendererTest, OneSampleAtTheViewsSizeIsTheRenderedPicture)
{
    for (int type = 1; type <= 6; ++type) {
        SCOPED_TRACE(type);
        ResetEngineState();
        FillPresetColorMap(currentColorMap, kPresetSetting3);
        ActiveParams = StartupEditedParams();
        dpCurr.diType = type;
        dpCurr.diImgW = 37;
        dpCurr.diImgH = 29;
        dpCurr.dwa = type == 6 ? -1.5L : -0.3L;
        dpCurr.dwb = 0.1L;
        dpCurr.dwx = 3.3L;
        dpCurr.dwy = 2.7L;
        FakeHost host;
        RenderView(host, dpCurr);
        PictureJob job;
        job.region = PictureRegion{Iteration{type, ActiveParams}, dpCurr.Region()};
        job.width = 37;
        job.height = 29;
        job.colors = currentColorMap;
        const std::vector<uint8_t> rgb = Render(job);
        for (int y = 0; y < 29; ++y)
            for (int x = 0; x < 37; ++x) {
                const ColorMapEntry e = EntryOfColorWord(host.Pixel(x, y).value_or(0xFFFFFFFFu));
                const uint8_t* p = &rgb[(size_t(y) * 37 + size_t(x)) * 3];
                ASSERT_EQ((std::array<int, 3>{p[0], p[1], p[2]}), (std::array<int, 3>{e.red, e.green, e.blue}))
                    << x << "," << y;
            }
    }
    ResetEngineState();
}

TEST(PictureRendererTest, ACancelStopsTheRows)
{
    const std::atomic<bool> cancelled{true};
    PictureRenderer renderer(SeahorseJob(64, 64, 2));
    std::vector<uint8_t> rgb(64 * 3 * 64);
    EXPECT_FALSE(renderer.RenderRows(0, 64, rgb.data(), cancelled));
}

}  // namespace
