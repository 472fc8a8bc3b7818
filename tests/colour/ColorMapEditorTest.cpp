#include <gtest/gtest.h>

#include <tuple>

#include "colour/model/ColorMapEditor.h"

namespace {

using Rgb = std::tuple<int, int, int>;

Rgb RgbOf(const ColorMapEntry& e) { return {e.red, e.green, e.blue}; }

// Distinct colours everywhere, key flags as the method sets them.
ColorMap KeyedMap(AllocationMethod method, const Sections& sections)
{
    ColorMap map{};
    for (int i = 0; i < 256; ++i)
        map[i] = ColorMapEntry{0, uint8_t(i), uint8_t(255 - i), uint8_t(i * 3)};
    SetKeyFlags(map, method, sections);
    return map;
}

}  // namespace

TEST(ColorMapEditorSections, EveryPositionTilesTheGridOnceInEntryOrder)
{
    for (int position = 0; position <= kMaxSectionPosition; ++position) {
        const Sections sections = SectionsAt(position);
        ASSERT_EQ(sections.count * sections.size, 256);
        const std::vector<CellRect> cells = SectionCells(sections);
        ASSERT_EQ(int(cells.size()), sections.count);
        int covered[16][16] = {};
        for (int s = 0; s < sections.count; ++s) {
            const CellRect& r = cells[s];
            EXPECT_EQ(r.column + 16 * r.row, s * sections.size) << "position " << position << " section " << s;
            EXPECT_EQ(r.columns * r.rows, sections.size);
            for (int row = r.row; row < r.row + r.rows; ++row)
                for (int column = r.column; column < r.column + r.columns; ++column)
                    ++covered[row][column];
        }
        for (auto& row : covered)
            for (int n : row)
                EXPECT_EQ(n, 1) << "position " << position;
    }
}

TEST(ColorMapEditorKeys, KeysFollowTheMethodAndWithoutOneStayAsTheyWere)
{
    const Sections eight = SectionsAt(3);  // 8 sections of 32
    ColorMap map{};
    map[5].keyFlag = 7;
    EXPECT_FALSE(SetKeyFlags(map, AllocationMethod::None, eight));
    EXPECT_EQ(map[5].keyFlag, 7);

    ASSERT_TRUE(SetKeyFlags(map, AllocationMethod::Gradient, eight));
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(map[i].keyFlag, i % 32 == 0 ? 1 : 0) << i;
    ASSERT_TRUE(SetKeyFlags(map, AllocationMethod::Repetition, eight));
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(map[i].keyFlag, i < 32 ? 1 : 0) << i;
}

TEST(ColorMapEditorGradient, OneSectionTakesTheColorOfEntry0Everywhere)
{
    const Sections one = SectionsAt(0);
    ColorMap map = KeyedMap(AllocationMethod::Gradient, one);
    const GradientOutcome outcome = GenerateGradient(map, one);
    EXPECT_TRUE(outcome.ran);
    EXPECT_EQ(outcome.sectionsWithoutKeys, 0);
    EXPECT_FALSE(outcome.outOfRange);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(RgbOf(map[i]), Rgb(0, 255, 0)) << i;
    EXPECT_EQ(map[1].keyFlag, 0);
}

TEST(ColorMapEditorGradient, SectionsOfOneEntryDoNothingAtAll)
{
    const Sections all = SectionsAt(8);
    ColorMap map = KeyedMap(AllocationMethod::Gradient, all);
    const ColorMap before = map;
    EXPECT_FALSE(GenerateGradient(map, all).ran);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(RgbOf(map[i]), RgbOf(before[i]));
}

TEST(ColorMapEditorGradient, TheLastOf16SectionsRunsFromEntry240TowardsEntry0)
{
    const Sections sixteen = SectionsAt(4);
    ColorMap map = KeyedMap(AllocationMethod::Gradient, sixteen);
    map[240] = ColorMapEntry{1, 160, 0, 255};
    map[0] = ColorMapEntry{1, 0, 160, 95};
    ASSERT_FALSE(GenerateGradient(map, sixteen).outOfRange);
    // Steps: red -10, green +10, blue floor(-160 / 16 + 0.5) = -10.
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(RgbOf(map[240 + k]), Rgb(160 - 10 * k, 10 * k, 255 - 10 * k)) << k;
    EXPECT_EQ(RgbOf(map[0]), Rgb(0, 160, 95));
}

TEST(ColorMapEditorGradient, StepsRoundHalvesUpwards)
{
    // Size 4: d = 10 gives 2.5 -> 3, d = -10 gives -2.5 -> -2, d = 6 gives 1.5 -> 2.
    const Sections sixtyFour = SectionsAt(6);
    ColorMap map = KeyedMap(AllocationMethod::Gradient, sixtyFour);
    map[0] = ColorMapEntry{1, 100, 100, 100};
    map[4] = ColorMapEntry{1, 110, 90, 106};
    ASSERT_FALSE(GenerateGradient(map, sixtyFour).outOfRange);
    EXPECT_EQ(RgbOf(map[3]), Rgb(109, 94, 106));
}

TEST(ColorMapEditorGradient, WorkedExampleOfFourEntriesFrom0To255)
{
    const Sections sixtyFour = SectionsAt(6);
    ColorMap map = KeyedMap(AllocationMethod::Gradient, sixtyFour);
    map[0].red = 0;
    map[4].red = 255;
    GenerateGradient(map, sixtyFour);
    EXPECT_EQ(map[1].red, 64);
    EXPECT_EQ(map[2].red, 128);
    EXPECT_EQ(map[3].red, 192);
}

TEST(ColorMapEditorGradient, AStepLeaving0To255StopsWithWhatWasWrittenKept)
{
    const Sections eight = SectionsAt(3);  // sections of 32
    ColorMap map = KeyedMap(AllocationMethod::Gradient, eight);
    map[0] = ColorMapEntry{1, 8, 0, 0};
    map[32] = ColorMapEntry{1, 255, 0, 0};
    const ColorMap before = map;
    const GradientOutcome outcome = GenerateGradient(map, eight);
    EXPECT_TRUE(outcome.outOfRange);
    EXPECT_EQ(map[30].red, 8 + 30 * 8);
    EXPECT_EQ(map[30].green, 0);
    // Entry 31 would get red 256: nothing of it is written, nor of any later section.
    EXPECT_EQ(RgbOf(map[31]), RgbOf(before[31]));
    for (int i = 33; i < 256; ++i)
        EXPECT_EQ(RgbOf(map[i]), RgbOf(before[i])) << i;
}

TEST(ColorMapEditorGradient, SectionsWithoutKeysAreCountedAndGeneratedAllTheSame)
{
    const Sections four = SectionsAt(2);
    ColorMap map = KeyedMap(AllocationMethod::Gradient, four);
    map[128].keyFlag = 0;  // end of section 2, start of section 3
    map[0].keyFlag = 2;    // only 1 counts as a key: sections 1 and 4
    map[64] = ColorMapEntry{1, 0, 0, 0};
    map[128] = ColorMapEntry{0, 64, 128, 192};
    const GradientOutcome outcome = GenerateGradient(map, four);
    EXPECT_EQ(outcome.sectionsWithoutKeys, 4);
    EXPECT_FALSE(outcome.outOfRange);
    EXPECT_EQ(RgbOf(map[127]), Rgb(63, 126, 189));
}

TEST(ColorMapEditorRepetition, LaterSectionsCopyTheColorsOfTheFirstAndKeepTheirFlags)
{
    const Sections eight = SectionsAt(3);
    ColorMap map = KeyedMap(AllocationMethod::Repetition, eight);
    GenerateRepetition(map, eight);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(RgbOf(map[i]), Rgb(i % 32, 255 - i % 32, (i % 32) * 3)) << i;
        EXPECT_EQ(map[i].keyFlag, i < 32 ? 1 : 0);
    }
}

TEST(ColorMapEditorRepetition, OneSectionCopiesNothingAndSectionsOfOneCopyEntry0)
{
    ColorMap one = KeyedMap(AllocationMethod::Repetition, SectionsAt(0));
    const ColorMap before = one;
    GenerateRepetition(one, SectionsAt(0));
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(one[i].keyFlag, 1);
        EXPECT_EQ(RgbOf(one[i]), RgbOf(before[i]));
    }

    ColorMap all = KeyedMap(AllocationMethod::Repetition, SectionsAt(8));
    GenerateRepetition(all, SectionsAt(8));
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(all[i].keyFlag, i == 0 ? 1 : 0);
        EXPECT_EQ(RgbOf(all[i]), Rgb(0, 255, 0));
    }
}

TEST(ColorMapEditorPoints, CellsMapToEntriesAndPointsOutsideToNone)
{
    EXPECT_EQ(EntryAtPoint(23, 24), 16);
    EXPECT_EQ(EntryAtPoint(383, 383), 255);
    EXPECT_EQ(EntryAtPoint(384, 0), -1);
    EXPECT_EQ(EntryAtPoint(-1, 5), -1);
}
