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
using ColourWord = uint32_t;

inline constexpr ColourWord kBlackWord = 0;

inline ColourWord ColourWordOf(const ColorMapEntry& e)
{
    return ColourWord(e.red) + ColourWord(e.green) * 256u + ColourWord(e.blue) * 65536u;
}

// The red, green and blue bytes of a colour word, key flag 0.
inline ColorMapEntry EntryOfColourWord(ColourWord word)
{
    return ColorMapEntry{0, uint8_t(word & 0xFFu), uint8_t((word >> 8) & 0xFFu), uint8_t((word >> 16) & 0xFFu)};
}

// Stores a picked colour word into an entry, keeping its key flag.
inline void SetEntryColour(ColorMapEntry& e, ColourWord word)
{
    const ColorMapEntry c = EntryOfColourWord(word);
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

extern ColorMap currentColorMap;
extern ColorMap workColorMap;
