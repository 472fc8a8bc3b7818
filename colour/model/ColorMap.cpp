#include "colour/model/ColorMap.h"

ColorMap currentColorMap{};

namespace {

struct Rgb {
    int red;
    int green;
    int blue;
};

// Cycle offsets of red, green and blue for each quarter of 64 entries.
using QuarterOffsets = int[4][3];
constexpr QuarterOffsets kSetting1Offsets = {{12, 8, 4}, {4, 12, 8}, {8, 4, 12}, {4, 8, 12}};
constexpr QuarterOffsets kSetting4Offsets = {{4, 8, 12}, {8, 12, 4}, {12, 4, 8}, {4, 8, 12}};

// The 16-entry colour cycle ((i + c) mod 16) * 16 with the channel order of i's quarter.
Rgb CycleColor(int i, const QuarterOffsets& offsets)
{
    const int* c = offsets[i / 64];
    return {((i + c[0]) % 16) * 16, ((i + c[1]) % 16) * 16, ((i + c[2]) % 16) * 16};
}

Rgb Setting2(int i)
{
    return {255 - ((i + 8) % 32) * 8, 255 - ((i + 16) % 32) * 8, 255 - ((i + 24) % 32) * 8};
}

Rgb Setting3(int i)
{
    const int v = 100 * i;
    if (v < 256)
        return {v, (v % 128) * 2, 0};
    if (v < 512)
        return {(v % 64) * 4, v % 256, 0};
    return {(v % 64) * 4, (v % 128) * 2, v % 256};
}

Rgb Monotone(int i) { return {i, i, i}; }

Rgb ShortMonotone(int i)
{
    const int v = (i % 16) * 16;
    return {v, v, v};
}

Rgb PresetColor(int presetCode, int i)
{
    switch (presetCode) {
    case kPresetSetting2: return Setting2(i);
    case kPresetSetting3: return Setting3(i);
    case kPresetSetting4: return CycleColor(i, kSetting4Offsets);
    case kPresetMonotone: return Monotone(i);
    case kPresetShortMonotone: return ShortMonotone(i);
    default: return CycleColor(i, kSetting1Offsets);
    }
}

void SetRgb(ColorMapEntry& e, uint8_t red, uint8_t green, uint8_t blue)
{
    e.red = red;
    e.green = green;
    e.blue = blue;
}

}  // namespace

void FillPresetColorMap(ColorMap& map, int presetCode)
{
    for (int i = 0; i < 256; ++i) {
        const Rgb c = PresetColor(presetCode, i);
        map[i] = ColorMapEntry{0, uint8_t(c.red), uint8_t(c.green), uint8_t(c.blue)};
    }
}

void FillBandColorMap(ColorMap& map)
{
    SetRgb(map[0], 0, 0, 255);
    SetRgb(map[16], 0, 255, 0);
    SetRgb(map[32], 0, 255, 255);
    SetRgb(map[48], 255, 0, 0);
    SetRgb(map[64], 255, 0, 255);
    SetRgb(map[80], 255, 255, 0);
    SetRgb(map[96], 255, 255, 255);
    for (int d = 0; d <= 8; ++d) {
        for (int j = 0; j <= 14; ++j) {
            const int b = 16 * d + j;
            map[b + 1] = map[b];
            if (b + 112 <= 255)
                map[b + 112] = map[b];
        }
        if (16 * d + 127 <= 255)
            map[16 * d + 127] = map[16 * d + 15];
    }
}

void InvertColorMap(ColorMap& map)
{
    for (ColorMapEntry& e : map)
        SetRgb(e, uint8_t(255 - e.red), uint8_t(255 - e.green), uint8_t(255 - e.blue));
}

void SetCurrentColorMap(const ColorMap& map) { currentColorMap = map; }

void SetCurrentColorMapEntry(int n, ColorWord color)
{
    if (n >= 0 && n < int(currentColorMap.size()))
        SetEntryColor(currentColorMap[std::size_t(n)], color);
}
