#include "colour/model/ColorMapEditor.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kEntries = 256;

bool IsKey(const ColorMapEntry& e) { return e.keyFlag == 1; }

// The channel step of a section: floor(d / size + 0.5) in extended precision.
int GradientStep(int from, int to, int size)
{
    return int(std::floor(static_cast<long double>(to - from) / size + 0.5L));
}

uint8_t ColorMapEntry::*const kChannels[] = {&ColorMapEntry::red, &ColorMapEntry::green, &ColorMapEntry::blue};

// Fills entries a + 1 .. a + size - 1 from entry a by the steps; false when
// a channel would leave 0..255 (that channel and everything after stay as
// they were).
bool FillSection(ColorMap& map, int a, int b, int size)
{
    int steps[3];
    for (int c = 0; c < 3; ++c)
        steps[c] = GradientStep(map[a].*kChannels[c], map[b].*kChannels[c], size);
    for (int k = 1; k < size; ++k) {
        for (int c = 0; c < 3; ++c) {
            const int value = map[a + k - 1].*kChannels[c] + steps[c];
            if (value < 0 || value > 255)
                return false;
            map[a + k].*kChannels[c] = uint8_t(value);
        }
    }
    return true;
}

}  // namespace

Sections SectionsAt(int position)
{
    const int count = 1 << std::clamp(position, 0, kMaxSectionPosition);
    return Sections{count, kEntries / count};
}

std::vector<CellRect> SectionCells(const Sections& sections)
{
    const bool wholeRows = sections.size > kMapGridCells;
    const int columns = wholeRows ? kMapGridCells : sections.size;
    const int rows = wholeRows ? sections.size / kMapGridCells : 1;
    std::vector<CellRect> cells;
    int column = 0;
    int row = 0;
    for (int s = 0; s < sections.count; ++s) {
        cells.push_back(CellRect{column, row, columns, rows});
        column += columns;
        if (column >= kMapGridCells) {
            column = 0;
            row += rows;
        }
    }
    return cells;
}

bool SetKeyFlags(ColorMap& map, AllocationMethod method, const Sections& sections)
{
    if (method == AllocationMethod::None)
        return false;
    for (int i = 0; i < kEntries; ++i) {
        const bool key = method == AllocationMethod::Gradient ? i % sections.size == 0 : i < sections.size;
        map[i].keyFlag = key ? 1 : 0;
    }
    return true;
}

GradientOutcome GenerateGradient(ColorMap& map, const Sections& sections)
{
    GradientOutcome outcome;
    if (sections.size == 1)
        return outcome;
    outcome.ran = true;
    for (int s = 1; s <= sections.count; ++s) {
        const int a = (s - 1) * sections.size;
        const int b = (s * sections.size) % kEntries;
        if (!IsKey(map[a]) || !IsKey(map[b]))
            ++outcome.sectionsWithoutKeys;
        if (!FillSection(map, a, b, sections.size)) {
            outcome.outOfRange = true;
            break;
        }
    }
    return outcome;
}

void GenerateRepetition(ColorMap& map, const Sections& sections)
{
    for (int s = 2; s <= sections.count; ++s) {
        for (int k = 0; k < sections.size; ++k) {
            ColorMapEntry& target = map[(s - 1) * sections.size + k];
            target.red = map[k].red;
            target.green = map[k].green;
            target.blue = map[k].blue;
        }
    }
}

int EntryAtPoint(int x, int y)
{
    if (x < 0 || y < 0 || x >= kMapImageSide || y >= kMapImageSide)
        return -1;
    return x / kMapCellPixels + kMapGridCells * (y / kMapCellPixels);
}
