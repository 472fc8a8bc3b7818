#pragma once
// The column kernels of the formulas whose fastest loop depends on the
// parameters or needs an orbit of its own; the table (FormulaTable.cpp)
// names them, and the loops of KernelLoops.h for the others.

#include "engine/Iteration.h"

// The counts of the points run.cx + i run.cy[i], i = 0..run.rows-1, and
// the ends of those that escape: those of the formula's plain loop, bit for
// bit. run.limit is what.limit.
using RowKernel = void (*)(const Iteration& what, const ColumnRun& run);

// z^2 + c: the two-orbit x87 loop with the certified interior trap.
void SquareRows(const Iteration& what, const ColumnRun& run);
// The quartic polynomial without its products by coefficient parts that are zero.
void PolynomialRows(const Iteration& what, const ColumnRun& run);
// The rational map, one point after the other; shorter with real xi and eta.
void RationalRows(const Iteration& what, const ColumnRun& run);
// The mysterious map, with cosine and sine from one call.
void ExponentialRows(const Iteration& what, const ColumnRun& run);

// The same maps' Julia sets (what.julia): each orbit starts at the row's
// point and adds the fixed c; no interior trap, which holds only for the
// formula's own plane.
void JuliaPolynomialRows(const Iteration& what, const ColumnRun& run);
void JuliaRationalRows(const Iteration& what, const ColumnRun& run);
void JuliaExponentialRows(const Iteration& what, const ColumnRun& run);
