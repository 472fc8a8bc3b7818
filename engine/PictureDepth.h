#pragma once
// How a view's points become its picture beyond the formula: the iteration
// limit and the colouring. Both belong to the view, as its coefficients do.

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/Iteration.h"

// The rule from a pixel's count to its colour-map entry.
enum class Coloring : int32_t {
    Count,      // the count itself, counts above 255 through entries 1..255 again
    Log,        // the count's logarithm against the limit over entries 1..255
    Smooth,     // a continuous count from the orbit's end, between two entries
    Histogram,  // the share of escaped pixels with a smaller count over entries 1..255
};
inline constexpr Coloring kDefaultColoring = Coloring::Count;
inline constexpr Coloring kColorings[] = {Coloring::Count, Coloring::Log, Coloring::Smooth, Coloring::Histogram};

// The names of the command line and the place files: count, log, smooth, histogram.
const char* ColoringName(Coloring coloring);
std::optional<Coloring> ColoringOfName(std::string_view name);

struct PictureDepth {
    int32_t limit = kDefaultIterationLimit;  // IsIterationLimit
    Coloring coloring = kDefaultColoring;
    bool operator==(const PictureDepth&) const = default;
};

// The limits the limit menu offers, the levels of the automatic limit: 256
// and every fourth power of two above it.
inline constexpr int32_t kLimitLevels[] = {256, 1024, 4096, 16384, 65536, 262144, 1048576};
