#pragma once
// The escape-time maps of the formula table, iterated from z = 0 for at
// most 256 steps.

#include "engine/FormulaTable.h"

// Escape count 0..255, or kCaptured. Unknown types capture every point.
int IteratePoint(int type, long double cx, long double cy, const FormulaParams& params);

// The values the coefficient dialog starts with: xi 1.01, eta 1.12, lambda 1.18.
FormulaParams StartupEditedParams();
