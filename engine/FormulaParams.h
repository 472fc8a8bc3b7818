#pragma once
// The five parameters of the formulas and the iteration's fixed limits.

#include "engine/untQVINC.h"

struct FormulaParams {
    ComplexValue Og;  // whole-view centre of types 2 to 5
    ComplexValue Gz;  // xi
    ComplexValue It;  // eta
    ComplexValue Rm;  // lambda
    ComplexValue Mu;  // mu
    bool operator==(const FormulaParams&) const = default;
};

inline constexpr int kFirstFormulaType = 1;
inline constexpr int kLastFormulaType = 6;
inline constexpr int kIterationLimit = 256;
// Returned by IteratePoint for a point that never leaves the circle |z|^2 < 10.
inline constexpr int kCaptured = 256;
