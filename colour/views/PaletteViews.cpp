#include "colour/views/PaletteViews.h"

#include "engine/CountColors.h"
#include "engine/EngineState.h"
#include "engine/Navigation.h"
#include "engine/NumberFormat.h"

namespace {

constexpr ColorWord kWhiteWord = 0xFFFFFFu;
constexpr ColorWord kPureRed = 0x0000FFu;
constexpr ColorWord kPureGreen = 0x00FF00u;
constexpr ColorWord kPureBlue = 0xFF0000u;

// The read-outs' format: 3 significant digits, signed 3-digit exponent.
std::string ReadoutText(long double value) { return FormatExponent(value, 3); }

void DrawChannelBar(std::vector<ColorWord>& chart, int entry, int value, ColorWord color)
{
    for (int y = ChannelBarTop(value); y < kChannelChartHeight; ++y)
        for (int x = 2 * entry; x < 2 * entry + 2; ++x)
            chart[size_t(y) * kPaletteViewWidth + size_t(x)] = color;
}

}  // namespace

long double PixelPointRe(const ViewRecord& view, int x) { return PointOfPixel(view, ShownPictureSize(view), x, 0).re; }

long double PixelPointIm(const ViewRecord& view, int y) { return PointOfPixel(view, ShownPictureSize(view), 0, y).im; }

int RenderedEscapeCount(int x, int y)
{
    return LastRenderedArea.Contains(x, y) ? IterationBuffer[BufferIndex(x, y)] : 0;
}

ColorEntryInformation DescribeColorEntry(int paletteIndex, const ColorMap& map)
{
    ColorEntryInformation info;
    info.paletteIndex = paletteIndex;
    info.entry = map[size_t(paletteIndex)];
    info.changeable = paletteIndex > 0;
    info.swatch = ColorWordOfCount(CountOfBufferValue(uint8_t(paletteIndex)), map);
    return info;
}

PixelInformation InspectPixel(const ViewRecord& view, int x, int y, const ColorMap& map)
{
    PixelInformation info;
    info.x = x;
    info.y = y;
    info.re = ReadoutText(PixelPointRe(view, x));
    info.im = ReadoutText(PixelPointIm(view, y));
    info.color = DescribeColorEntry(RenderedEscapeCount(x, y), map);
    return info;
}

PaletteViewPictures DrawPaletteView(const ColorMap& map)
{
    PaletteViewPictures pictures;
    pictures.strip.assign(size_t(kPaletteViewWidth) * kPaletteStripHeight, kWhiteWord);
    pictures.red.assign(size_t(kPaletteViewWidth) * kChannelChartHeight, kWhiteWord);
    pictures.green = pictures.red;
    pictures.blue = pictures.red;
    for (int i = 0; i < 256; ++i) {
        const ColorMapEntry& e = map[size_t(i)];
        for (int y = 0; y < kPaletteStripHeight; ++y)
            for (int x = 2 * i; x < 2 * i + 2; ++x)
                pictures.strip[size_t(y) * kPaletteViewWidth + size_t(x)] = ColorWordOf(e);
        DrawChannelBar(pictures.red, i, e.red, kPureRed);
        DrawChannelBar(pictures.green, i, e.green, kPureGreen);
        DrawChannelBar(pictures.blue, i, e.blue, kPureBlue);
    }
    return pictures;
}
