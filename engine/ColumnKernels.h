#pragma once
// Escape counts of a whole column of points at once, bit for bit the counts
// IteratePoint gives, found faster by shortcuts that cannot change a count.

#include <cstdint>

#include "engine/Formulas.h"

// counts[i] = IteratePoint(type, cx, cy[i], params) for i = 0..rows-1.
void IterateColumn(int type, long double cx, const long double* cy, int rows, const FormulaParams& params,
                   EscapeCount* counts);
