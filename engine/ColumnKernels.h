#pragma once
// Escape counts of a whole column of points at once, bit for bit the counts
// IteratePoint gives, found faster by shortcuts that cannot change a count.

#include "engine/Iteration.h"

// counts[i] = IteratePoint(what.type, cx, cy[i], what.params) for i = 0..rows-1.
void IterateColumn(const Iteration& what, long double cx, const long double* cy, int rows, EscapeCount* counts);
