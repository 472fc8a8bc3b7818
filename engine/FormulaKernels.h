#pragma once
// The column kernels of the formulas whose fastest loop depends on the
// parameters or needs an orbit of its own; the table (FormulaTable.cpp)
// names them, and the loops of KernelLoops.h for the others.

#include "engine/Iteration.h"

// counts[i] for the points cx + i cy[i], i = 0..rows-1: the counts of the
// formula's plain loop, bit for bit.
using RowKernel = void (*)(const Iteration& what, long double cx, const long double* cy, int rows,
                           EscapeCount* counts);

// z^2 + c: the two-orbit x87 loop with the certified interior trap.
void SquareRows(const Iteration& what, long double cx, const long double* cy, int rows, EscapeCount* counts);
// The quartic polynomial without its products by coefficient parts that are zero.
void PolynomialRows(const Iteration& what, long double cx, const long double* cy, int rows, EscapeCount* counts);
// The rational map, one point after the other; shorter with real xi and eta.
void RationalRows(const Iteration& what, long double cx, const long double* cy, int rows, EscapeCount* counts);
// The mysterious map, with cosine and sine from one call.
void ExponentialRows(const Iteration& what, long double cx, const long double* cy, int rows, EscapeCount* counts);
