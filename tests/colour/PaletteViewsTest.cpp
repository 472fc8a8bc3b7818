// What the pixel information window and the colour-map view show.
#include <gtest/gtest.h>

#include "colour/model/ColorMap.h"
#include "colour/views/PaletteViews.h"
#include "engine/EngineState.h"
#include "engine/Navigation.h"

namespace {

class PixelInformationTest : public ::testing::Test {
protected:
    void SetUp() override { ResetEngineState(); }
    void TearDown() override { ResetEngineState(); }

    // The whole view of the Mandelbrot set on a width x height picture.
    static void WholeViewOf(int width, int height)
    {
        dpCurr.diImgW = width;
        dpCurr.diImgH = height;
        SetUpWholeView(1);
    }
};

TEST_F(PixelInformationTest, PointTakesTheHalvedSizeRoundedDown)
{
    WholeViewOf(580, 580);
    PixelInformation info = InspectPixel(dpCurr, 290, 290, currentColorMap);
    EXPECT_EQ(info.re, "-5.00E-001");
    EXPECT_EQ(info.im, "0.00E+000");
    EXPECT_EQ(InspectPixel(dpCurr, 0, 0, currentColorMap).re, "-2.30E+000");

    // An odd width: column 290 is read as the centre, although the render
    // put that pixel's point half a step further left.
    WholeViewOf(581, 581);
    info = InspectPixel(dpCurr, 290, 290, currentColorMap);
    EXPECT_EQ(info.re, "-5.00E-001");
    EXPECT_EQ(info.im, "0.00E+000");
    EXPECT_EQ(PixelPointRe(dpCurr, 291), -0.5L + dpCurr.dwPitchX);
}

TEST_F(PixelInformationTest, CountZeroShowsBlackAndCannotBeChanged)
{
    WholeViewOf(100, 100);
    // Before any render the buffer is empty.
    PixelInformation info = InspectPixel(dpCurr, 10, 20, currentColorMap);
    EXPECT_EQ(info.x, 10);
    EXPECT_EQ(info.y, 20);
    EXPECT_EQ(info.color.paletteIndex, 0);
    EXPECT_EQ(ColorWordOf(info.color.entry), ColorWordOf(currentColorMap[0]));
    EXPECT_EQ(info.color.swatch, kBlackWord);
    EXPECT_FALSE(info.color.changeable);

    IterationBuffer[BufferIndex(10, 20)] = 7;
    IterationBuffer[BufferIndex(60, 20)] = 9;
    LastRenderedArea = RenderedArea{50, 100};
    info = InspectPixel(dpCurr, 10, 20, currentColorMap);
    EXPECT_EQ(info.color.paletteIndex, 7);
    EXPECT_EQ(info.color.swatch, ColorWordOf(currentColorMap[7]));
    EXPECT_TRUE(info.color.changeable);

    // Columns a cancelled render never reached, and pixels beyond the
    // buffer, hold nothing of the picture shown.
    EXPECT_EQ(InspectPixel(dpCurr, 60, 20, currentColorMap).color.paletteIndex, 0);
    EXPECT_EQ(RenderedEscapeCount(2399, 1799), 0);
    EXPECT_EQ(RenderedEscapeCount(-1, 5), 0);
}

TEST(PaletteView, MonotoneMapIsAGreyRampOverThreeEqualStaircases)
{
    ColorMap map;
    FillPresetColorMap(map, kPresetMonotone);
    const PaletteViewPictures view = DrawPaletteView(map);
    ASSERT_EQ(view.strip.size(), size_t(kPaletteViewWidth * kPaletteStripHeight));
    ASSERT_EQ(view.red.size(), size_t(kPaletteViewWidth * kChannelChartHeight));

    const auto barHeight = [](const std::vector<ColorWord>& chart, int x, ColorWord color) {
        int height = 0;
        for (int y = kChannelChartHeight - 1; y >= 0 && chart[size_t(y * kPaletteViewWidth + x)] == color; --y)
            ++height;
        // Above the bar the chart stays white.
        for (int y = 0; y < kChannelChartHeight - height; ++y)
            EXPECT_EQ(chart[size_t(y * kPaletteViewWidth + x)], 0xFFFFFFu) << "column " << x << " row " << y;
        return height;
    };
    EXPECT_EQ(barHeight(view.red, 0, 0x0000FFu), 1);
    int previous = 0;
    for (int x = 0; x < kPaletteViewWidth; ++x) {
        const uint32_t i = uint32_t(x / 2);
        EXPECT_EQ(view.strip[size_t(x)], i * 0x010101u);
        EXPECT_EQ(view.strip[size_t((kPaletteStripHeight - 1) * kPaletteViewWidth + x)], i * 0x010101u);
        const int red = barHeight(view.red, x, 0x0000FFu);
        EXPECT_EQ(barHeight(view.green, x, 0x00FF00u), red);
        EXPECT_EQ(barHeight(view.blue, x, 0xFF0000u), red);
        EXPECT_GE(red, previous);
        EXPECT_LE(red, previous + 1);
        previous = red;
    }
    EXPECT_EQ(previous, 128);
}

}  // namespace
