#pragma once
// Escape counts of a whole column of points at once, bit for bit the counts
// IteratePoint gives, found faster by shortcuts that cannot change a count.

#include "engine/Iteration.h"

// counts[i] = IteratePoint(what, cx, cy[i], &ends[i]) for i = 0..rows-1;
// ends, which may be null, only where the point escapes.
void IterateColumn(const Iteration& what, long double cx, const long double* cy, int rows, EscapeCount* counts,
                   EscapeEnd* ends = nullptr);
