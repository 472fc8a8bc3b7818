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
    std::vector<EscapeCount> counts;  // column-major, kCaptured for captured points
    EscapeHistogramType histogram{};

    int Count(int x, int y) const { return counts[size_t(x) * height + y]; }
};

// The view's picture the straightforward way, pixels mapped as the render maps them.
PlainPicture RenderPlainly(const ViewRecord& view, const FormulaParams& params);

// The picture from IterationBuffer and currentColorMap, pixel by pixel, the
// colour word of each worked out on the spot.
void RecolorPlainly(PictureHost& host, int width, int height);
