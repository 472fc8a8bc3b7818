#pragma once
// The user editor's work on a map: equal sections of the 256 entries, the key
// entries each allocation method asks for, and the two ways of filling the
// other entries from the keys.

#include <vector>

#include "colour/model/ColorMap.h"

// The editor shows a map as 16 x 16 cells of 24 pixels; cell (row, column)
// is entry 16 * row + column.
inline constexpr int kMapGridCells = 16;
inline constexpr int kMapCellPixels = 24;
inline constexpr int kMapImageSide = kMapGridCells * kMapCellPixels;

// Positions of the section track bar: 2^position sections.
inline constexpr int kMaxSectionPosition = 8;

enum class AllocationMethod { None = -1, Gradient = 0, Repetition = 1 };

struct Sections {
    int count = 16;  // 1, 2, 4, ..., 256
    int size = 16;   // entries per section, 256 / count
};

// The sections of a track-bar position 0..8 (clamped).
Sections SectionsAt(int position);

// A section as a rectangle of grid cells.
struct CellRect {
    int column = 0;
    int row = 0;
    int columns = 0;
    int rows = 0;
};

// The sections in entry order: whole rows for sections larger than a row,
// else runs of cells within a row.
std::vector<CellRect> SectionCells(const Sections& sections);

// Gradient: the first entry of every section is a key; repetition: the
// whole first section. Without a method nothing changes and false is
// returned (the editor reports a program error).
bool SetKeyFlags(ColorMap& map, AllocationMethod method, const Sections& sections);

struct GradientOutcome {
    bool ran = false;             // false for sections of one entry: nothing done
    int sectionsWithoutKeys = 0;  // generated all the same, one warning each
    bool outOfRange = false;      // a channel would leave 0..255: stopped there
};

// Fills each section from its start key towards the next section's start
// key (the last one towards entry 0) in equal rounded steps. Values written
// before a stop stay written.
GradientOutcome GenerateGradient(ColorMap& map, const Sections& sections);

// Every later section takes the colours of the first; key flags stay.
void GenerateRepetition(ColorMap& map, const Sections& sections);

// The entry under image point (x, y), or -1 outside the grid.
int EntryAtPoint(int x, int y);
