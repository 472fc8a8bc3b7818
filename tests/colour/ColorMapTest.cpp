#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <tuple>

#include "colour/model/ColorMap.h"

namespace {

using Rgb = std::tuple<int, int, int>;

Rgb RgbOf(const ColorMapEntry& e) { return {e.red, e.green, e.blue}; }

bool SameEntry(const ColorMapEntry& a, const ColorMapEntry& b)
{
    return a.keyFlag == b.keyFlag && a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// Every byte different from what any preset writes at that place, key flags 1.
ColorMap ScribbledMap()
{
    ColorMap map{};
    for (int i = 0; i < 256; ++i)
        map[i] = ColorMapEntry{1, uint8_t(i * 3 + 1), uint8_t(i * 5 + 2), uint8_t(i * 11 + 3)};
    return map;
}

ColorMap Preset(int code)
{
    ColorMap map = ScribbledMap();
    FillPresetColorMap(map, code);
    return map;
}

struct TellingRow {
    int entry;
    Rgb setting1, setting2, setting3, setting4, shortMonotone;
};

const TellingRow kTellingRows[] = {
    {0, {192, 128, 64}, {191, 127, 63}, {0, 0, 0}, {64, 128, 192}, {0, 0, 0}},
    {1, {208, 144, 80}, {183, 119, 55}, {100, 200, 0}, {80, 144, 208}, {16, 16, 16}},
    {3, {240, 176, 112}, {167, 103, 39}, {176, 44, 0}, {112, 176, 240}, {48, 48, 48}},
    {4, {0, 192, 128}, {159, 95, 31}, {64, 144, 0}, {128, 192, 0}, {64, 64, 64}},
    {16, {192, 128, 64}, {63, 255, 191}, {0, 128, 64}, {64, 128, 192}, {0, 0, 0}},
    {64, {64, 192, 128}, {191, 127, 63}, {0, 0, 0}, {128, 192, 64}, {0, 0, 0}},
    {128, {128, 64, 192}, {191, 127, 63}, {0, 0, 0}, {192, 64, 128}, {0, 0, 0}},
    {192, {64, 128, 192}, {191, 127, 63}, {0, 0, 0}, {64, 128, 192}, {0, 0, 0}},
    {255, {48, 112, 176}, {199, 135, 71}, {112, 56, 156}, {48, 112, 176}, {240, 240, 240}},
};

TEST(ColorMapPresets, TellingRowsOfEveryPreset)
{
    const ColorMap s1 = Preset(kPresetSetting1);
    const ColorMap s2 = Preset(kPresetSetting2);
    const ColorMap s3 = Preset(kPresetSetting3);
    const ColorMap s4 = Preset(kPresetSetting4);
    const ColorMap shortMono = Preset(kPresetShortMonotone);
    for (const TellingRow& row : kTellingRows) {
        SCOPED_TRACE(row.entry);
        EXPECT_EQ(RgbOf(s1[row.entry]), row.setting1);
        EXPECT_EQ(RgbOf(s2[row.entry]), row.setting2);
        EXPECT_EQ(RgbOf(s3[row.entry]), row.setting3);
        EXPECT_EQ(RgbOf(s4[row.entry]), row.setting4);
        EXPECT_EQ(RgbOf(shortMono[row.entry]), row.shortMonotone);
    }
}

TEST(ColorMapPresets, MonotoneIsTheGreyRamp)
{
    const ColorMap mono = Preset(kPresetMonotone);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(RgbOf(mono[i]), Rgb(i, i, i)) << i;
}

TEST(ColorMapPresets, SettingTwoRepeatsEveryThirtyTwoEntries)
{
    const ColorMap s2 = Preset(kPresetSetting2);
    for (int i = 0; i + 32 < 256; ++i)
        EXPECT_EQ(RgbOf(s2[i]), RgbOf(s2[i + 32])) << i;
    EXPECT_NE(RgbOf(s2[0]), RgbOf(s2[16]));
}

TEST(ColorMapPresets, CyclicPresetsRepeatEverySixteenEntriesInsideEachQuarter)
{
    for (int code : {kPresetSetting1, kPresetSetting4, kPresetShortMonotone}) {
        SCOPED_TRACE(code);
        const ColorMap map = Preset(code);
        for (int i = 0; i < 256; ++i) {
            if (i % 64 < 48) {
                EXPECT_EQ(RgbOf(map[i]), RgbOf(map[i + 16])) << i;
            }
        }
    }
}

TEST(ColorMapPresets, SettingsOneAndFourShareOnlyTheLastQuarter)
{
    const ColorMap s1 = Preset(kPresetSetting1);
    const ColorMap s4 = Preset(kPresetSetting4);
    for (int i = 192; i < 256; ++i)
        EXPECT_EQ(RgbOf(s1[i]), RgbOf(s4[i])) << i;
    for (int quarter = 0; quarter < 3; ++quarter)
        EXPECT_NE(RgbOf(s1[64 * quarter]), RgbOf(s4[64 * quarter])) << quarter;
}

TEST(ColorMapPresets, SettingThreeIsBlackAtQuarterStartsAndRepeatsFromEntrySix)
{
    const ColorMap s3 = Preset(kPresetSetting3);
    for (int i : {0, 64, 128, 192})
        EXPECT_EQ(RgbOf(s3[i]), Rgb(0, 0, 0)) << i;
    for (int i = 6; i < 64; ++i)
        for (int shift : {64, 128, 192})
            EXPECT_EQ(RgbOf(s3[i]), RgbOf(s3[i + shift])) << i << "+" << shift;
    // The first entries of each quarter do not follow the period.
    EXPECT_NE(RgbOf(s3[1]), RgbOf(s3[65]));
}

TEST(ColorMapPresets, EveryPresetClearsAllKeyFlags)
{
    for (int code : {kPresetSetting1, kPresetSetting2, kPresetSetting3, kPresetSetting4, kPresetMonotone,
                     kPresetShortMonotone}) {
        SCOPED_TRACE(code);
        const ColorMap map = Preset(code);
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(map[i].keyFlag, 0) << i;
    }
}

// --- Setting 5 -----------------------------------------------------------------

constexpr int kSeeds = 7;
const Rgb kSeedColors[kSeeds] = {
    {0, 0, 255},   // blue
    {0, 255, 0},   // green
    {0, 255, 255}, // cyan
    {255, 0, 0},   // red
    {255, 0, 255}, // magenta
    {255, 255, 0}, // yellow
    {255, 255, 255}, // white
};

TEST(ColorMapBands, SixteenBandsCycleThroughTheSevenSeedColors)
{
    ColorMap map = ScribbledMap();
    FillBandColorMap(map);
    for (int band = 0; band < 16; ++band)
        for (int i = 16 * band; i < 16 * band + 16; ++i)
            EXPECT_EQ(RgbOf(map[i]), kSeedColors[band % kSeeds]) << "band " << band << " entry " << i;
}

TEST(ColorMapBands, EachBandTakesTheKeyFlagItsSeedHad)
{
    ColorMap map = ScribbledMap();
    for (int s = 0; s < kSeeds; ++s)
        map[16 * s].keyFlag = uint8_t(10 + s);
    FillBandColorMap(map);
    for (int band = 0; band < 16; ++band)
        for (int i = 16 * band; i < 16 * band + 16; ++i)
            EXPECT_EQ(map[i].keyFlag, 10 + band % kSeeds) << "band " << band << " entry " << i;
}

// --- Inversion and colour words -------------------------------------------------

TEST(ColorMapInversion, InvertsEveryChannelAndKeepsKeyFlags)
{
    ColorMap map = ScribbledMap();
    map[7].keyFlag = 0;
    const ColorMap original = map;
    InvertColorMap(map);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(map[i].red, 255 - original[i].red) << i;
        EXPECT_EQ(map[i].green, 255 - original[i].green) << i;
        EXPECT_EQ(map[i].blue, 255 - original[i].blue) << i;
        EXPECT_EQ(map[i].keyFlag, original[i].keyFlag) << i;
    }
    InvertColorMap(map);
    for (int i = 0; i < 256; ++i)
        EXPECT_TRUE(SameEntry(map[i], original[i])) << i;
}

TEST(ColorMapWords, ColorWordIsRedGreenBlueFromTheLowByte)
{
    EXPECT_EQ(ColorWordOf(ColorMapEntry{1, 0x12, 0x34, 0x56}), 0x563412u);
    EXPECT_EQ(ColorWordOf(ColorMapEntry{0, 255, 0, 0}), 255u);
    EXPECT_EQ(ColorWordOf(ColorMapEntry{0, 0, 255, 0}), 255u * 256u);
    EXPECT_EQ(ColorWordOf(ColorMapEntry{0, 0, 0, 255}), 255u * 65536u);
    EXPECT_EQ(ColorWordOf(ColorMapEntry{1, 0, 0, 0}), 0u);
}

TEST(ColorMapWords, PickedColorFillsTheChannelsAndKeepsTheKeyFlag)
{
    for (uint8_t flag : {uint8_t(0), uint8_t(1)}) {
        ColorMapEntry e{flag, 9, 9, 9};
        SetEntryColor(e, 0x00ABCDEFu);
        EXPECT_EQ(e.red, 0xEF);
        EXPECT_EQ(e.green, 0xCD);
        EXPECT_EQ(e.blue, 0xAB);
        EXPECT_EQ(e.keyFlag, flag);
        EXPECT_EQ(ColorWordOf(e), 0x00ABCDEFu);
    }
}

}  // namespace
