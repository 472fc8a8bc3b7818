#include "colour/views/PaletteViews.h"

#include <cstdio>

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

namespace {

// The entry of the pixel's whole count in a colouring other than the count
// colouring (0 for a captured point), and its count read-out.
int EntryInColoring(EscapeCount n, const EscapeEnd& end, std::string& count)
{
    const int limit = LastCountSummary.limit;
    if (!IsEscapeCount(n, limit)) {
        count = "発散せず";
        return 0;
    }
    const PictureDepth depth{limit, ActiveDepth.coloring};
    if (depth.coloring == Coloring::Smooth) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", ContinuousCount(n, end));
        count = text;
    } else {
        count = std::to_string(n);
    }
    if (depth.coloring != Coloring::Histogram)
        return CountPainter(depth).EntryOf(n);
    CountTally tally(limit);
    for (int column = 0; column < LastRenderedArea.columns; ++column)
        for (int row = 0; row < LastRenderedArea.rows; ++row)
            tally.Add(WholeCountBuffer[BufferIndex(column, row)]);
    return CountPainter(depth, &tally).EntryOf(n);
}

// A deep view's pixel: its point from the precise centre, by the pixel-size
// rule, with the digits that matter. False for a view without a precise centre.
bool DescribePrecisePoint(const ViewRecord& view, int x, int y, PixelInformation& info)
{
    const PreciseCentre centre = WithoutRoundingOnly(CentreOrFields(CurrentCentre, PlanePoint{view.dwa, view.dwb}));
    if (centre.Empty())
        return false;
    const PictureSize shown = ShownPictureSize(view);
    const PreciseCentre point = MovedCentre(centre, (x - shown.width / 2) * view.dwPitchX,
                                            (y - shown.height / 2) * view.dwPitchY,
                                            std::min(view.dwPitchX, view.dwPitchY));
    info.re = ReadoutText(point.Re().Rounded());
    info.im = ReadoutText(point.Im().Rounded());
    info.reFull = FormatPrecise(point.Re(), view.dwPitchX);
    info.imFull = FormatPrecise(point.Im(), view.dwPitchY);
    return true;
}

}  // namespace

PixelInformation InspectPixel(const ViewRecord& view, int x, int y, const ColorMap& map)
{
    PixelInformation info;
    info.x = x;
    info.y = y;
    info.re = ReadoutText(PixelPointRe(view, x));
    info.im = ReadoutText(PixelPointIm(view, y));
    const bool deep = DescribePrecisePoint(view, x, y, info);
    const bool plain =
        !deep && LastCountSummary.limit == kDefaultIterationLimit && ActiveDepth.coloring == Coloring::Count;
    int entry = RenderedEscapeCount(x, y);
    if (!plain && LastRenderedArea.Contains(x, y)) {
        const int at = BufferIndex(x, y);
        const int inColoring = EntryInColoring(WholeCountBuffer[size_t(at)], EscapeEndBuffer[size_t(at)], info.count);
        if (ActiveDepth.coloring != Coloring::Count)
            entry = inColoring;
    }
    info.color = DescribeColorEntry(entry, map);
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
