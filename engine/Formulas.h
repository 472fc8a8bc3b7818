#pragma once
// The escape-time maps of the formula table, iterated from z = 0 (for a
// Julia set, from the point) for at most the limit's steps.

#include "engine/FormulaTable.h"

// Escape count 0..limit-1, or the limit for a captured point; with an end
// given, the end of an orbit that escapes. Unknown types capture every point.
EscapeCount IteratePoint(const Iteration& what, long double cx, long double cy, EscapeEnd* end = nullptr);
// The same with the limit of 256: 0..255, or kCaptured.
int IteratePoint(int type, long double cx, long double cy, const FormulaParams& params);

// The values the coefficient dialog starts with: xi 1.01, eta 1.12, lambda 1.18.
FormulaParams StartupEditedParams();
