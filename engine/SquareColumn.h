#pragma once
// A column of type 1: its points in two lanes, then three (SquarePair.h,
// SquareTriple.h).

#include "engine/Iteration.h"
#include "engine/KernelLoops.h"

// The counts (and ends) of IteratePoint for type 1 at the run's limit, the
// pairs stepped by the assembly or by the C++ loop.
void IterateSquareColumn(const ColumnRun& run, bool assembly = true);
// The same at the limit of 256, without ends.
void IterateSquareColumn(long double cx, const long double* cy, int rows, EscapeCount* counts, bool assembly = true);
