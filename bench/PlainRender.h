#pragma once
// The reference the benchmark measures the program against: one thread, every
// pixel iterated with IteratePoint, no shortcut of any kind.

#include <cstdint>
#include <vector>

#include "PictureHost.h"
#include "engine/EngineState.h"
#include "engine/ViewRecord.h"

struct PlainPicture {
    int width = 0;
    int height = 0;
    int limit = kDefaultIterationLimit;
    std::vector<EscapeCount> counts;  // column-major, the limit for captured points
    std::vector<EscapeEnd> ends;      // alike, where a point escaped
    EscapeHistogramType histogram{};  // by the count colouring's entry, captured points last

    int Count(int x, int y) const { return counts[size_t(x) * height + y]; }
    const EscapeEnd& End(int x, int y) const { return ends[size_t(x) * height + y]; }
};

// The view's picture the straightforward way at the limit, pixels mapped as
// the render maps them.
PlainPicture RenderPlainly(const ViewRecord& view, const FormulaParams& params, int limit = kDefaultIterationLimit,
                           JuliaPoint julia = kNoJuliaPoint);

// The count colouring's colour of a count worked out on the spot: entry n up
// to 255, above that ((n - 1) mod 255) + 1, black for a captured point (n at
// the limit).
uint32_t PlainColorWord(EscapeCount n, const ColorMap& map, int limit);

// The picture from IterationBuffer and currentColorMap, pixel by pixel, the
// colour word of each worked out on the spot.
void RecolorPlainly(PictureHost& host, int width, int height);
