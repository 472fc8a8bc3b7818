#pragma once
// What the two palette views show, computed without a screen: one pixel's
// point, escape count and colour entry, and a colour map drawn as a strip
// with a bar chart of each channel.

#include <cstdint>
#include <string>
#include <vector>

#include "colour/model/ColorMap.h"
#include "engine/ViewRecord.h"

// An escape count's colour entry as the information window shows it.
struct ColorEntryInformation {
    // Escape count n, the colour-map index.
    int paletteIndex = 0;
    // Entry n of the map (entry 0 for n = 0).
    ColorMapEntry entry;
    // The colour a pixel of count n is painted with: entry n, black for n = 0.
    ColorWord swatch = kBlackWord;
    // Only an escaping count's entry colours anything.
    bool changeable = false;
};

struct PixelInformation {
    int x = 0;
    int y = 0;
    // The pixel's point in the read-outs' 3-digit exponent form.
    std::string re;
    std::string im;
    // In a deep view, the point with the digits that matter at its pixels
    // (the view's precise centre plus the pixel's offset); empty otherwise.
    std::string reFull;
    std::string imFull;
    // The entry the pixel's colour comes from in the colouring in force.
    ColorEntryInformation color;
    // Where the limit or the colouring is not the program's first: the whole
    // count, in the smooth colouring the continuous count with three
    // decimals, "発散せず" for a captured point; empty otherwise.
    std::string count;
};

// The point of pixel (x, y) of the picture on screen by the pixel-size rule
// (PlaneRegion::PitchPoint): its offset from the pixel at the picture's
// halved size (integer halving) times the pixel size, plus the centre. It is
// the point the wheel keeps under the pointer, and the read-out the program
// has always shown, half a pixel beside the render's point on an odd side.
long double PixelPointRe(const ViewRecord& view, int x);
long double PixelPointIm(const ViewRecord& view, int y);

// The escape count the last render stored for pixel (x, y) in the 8-bit
// buffer (the count colouring's entry); 0 where it did not paint (outside
// the picture, columns a cancel left out, before any render).
int RenderedEscapeCount(int x, int y);

ColorEntryInformation DescribeColorEntry(int paletteIndex, const ColorMap& map);
PixelInformation InspectPixel(const ViewRecord& view, int x, int y, const ColorMap& map);

// The colour-map view: a strip of the 256 colours and one bar chart per
// channel, each entry a 2-pixel column, row-major colour words.
inline constexpr int kPaletteViewWidth = 512;
inline constexpr int kPaletteStripHeight = 49;
inline constexpr int kChannelChartHeight = 128;

struct PaletteViewPictures {
    std::vector<ColorWord> strip;
    std::vector<ColorWord> red;
    std::vector<ColorWord> green;
    std::vector<ColorWord> blue;
};

// Top row of a channel's bar: a value v stands 128 - (255 - v) div 2 pixels
// high on the chart's bottom edge.
inline constexpr int ChannelBarTop(int value) { return (255 - value) / 2; }

PaletteViewPictures DrawPaletteView(const ColorMap& map);
