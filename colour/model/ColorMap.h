#pragma once
// The 256-entry colour maps: the model, the built-in presets and the inversion.

#include <array>
#include <cstdint>

struct ColorMapEntry {
    uint8_t keyFlag = 0;  // key entry of the user editor; drawing ignores it
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

using ColorMap = std::array<ColorMapEntry, 256>;

static_assert(sizeof(ColorMapEntry) == 4, "a colour-map entry is four bytes");
static_assert(sizeof(ColorMap) == 1024, "a colour map is exactly 1024 bytes, as in its file");

// Colour word: red + green * 256 + blue * 65536.
using ColorWord = uint32_t;

inline constexpr ColorWord kBlackWord = 0;

inline ColorWord ColorWordOf(const ColorMapEntry& e)
{
    return ColorWord(e.red) + ColorWord(e.green) * 256u + ColorWord(e.blue) * 65536u;
}

// The red, green and blue bytes of a colour word, key flag 0.
inline ColorMapEntry EntryOfColorWord(ColorWord word)
{
    return ColorMapEntry{0, uint8_t(word & 0xFFu), uint8_t((word >> 8) & 0xFFu), uint8_t((word >> 16) & 0xFFu)};
}

// Stores a picked colour word into an entry, keeping its key flag.
inline void SetEntryColor(ColorMapEntry& e, ColorWord word)
{
    const ColorMapEntry c = EntryOfColorWord(word);
    e.red = c.red;
    e.green = c.green;
    e.blue = c.blue;
}

// Built-in map codes.
inline constexpr int kPresetSetting1 = 4;
inline constexpr int kPresetSetting2 = 8;
inline constexpr int kPresetSetting3 = 99;
inline constexpr int kPresetSetting4 = 3;
inline constexpr int kPresetMonotone = 1;
inline constexpr int kPresetShortMonotone = 5;

// Writes all 256 entries from the rule of a built-in code; key flags become 0.
void FillPresetColorMap(ColorMap& map, int presetCode);
// Setting 5: sixteen bands of 16 entries from seven seed colours.
void FillBandColorMap(ColorMap& map);
// Every channel becomes 255 minus itself; key flags stay.
void InvertColorMap(ColorMap& map);

// The map the picture is painted from.
extern ColorMap currentColorMap;

// The one way a window's map or picked colour reaches currentColorMap; the
// caller recolours the picture afterwards.
void SetCurrentColorMap(const ColorMap& map);
// Entry n takes the colour word's red, green and blue and keeps its key flag.
void SetCurrentColorMapEntry(int n, ColorWord color);
