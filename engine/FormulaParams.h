#pragma once
// The five parameters of the formulas.

#include "engine/untQVINC.h"

struct FormulaParams {
    ComplexValue Og;  // whole-view centre of types 2 to 5
    ComplexValue Gz;  // xi
    ComplexValue It;  // eta
    ComplexValue Rm;  // lambda
    ComplexValue Mu;  // mu
    bool operator==(const FormulaParams&) const = default;
};
