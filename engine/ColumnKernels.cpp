#include "engine/ColumnKernels.h"

#include <algorithm>

#include "engine/FormulaTable.h"
#include "engine/JuliaTable.h"
#include "engine/KernelLoops.h"

namespace {

// The first row whose point is the conjugate of an earlier row's: from there
// on row i mirrors row rows - i, as on every view centred on the real axis.
int FirstMirroredRow(const long double* cy, int rows)
{
    const int half = rows / 2 + 1;
    for (int row = half; row < rows; ++row)
        if (!kernel_loops::SameBits(cy[row], -cy[rows - row]))
            return rows;
    return half;
}

}  // namespace

void IterateColumn(const Iteration& what, long double cx, const long double* cy, int rows, EscapeCount* counts,
                   EscapeEnd* ends)
{
    const FormulaRecord* formula = FindFormula(what.type);
    if (!formula) {
        std::fill(counts, counts + rows, EscapeCount(what.limit));
        return;
    }
    // Signs of zeros may differ between conjugate orbits, and change no magnitude.
    const bool julia = what.julia.isSet;
    const bool mirror = julia ? JuliaRowsMirror(what, cx) : ConjugatesShareCounts(*formula, what.params);
    const int own = mirror ? FirstMirroredRow(cy, rows) : rows;
    const RowKernel kernel = julia ? FindJulia(what.type)->iterateRows : formula->iterateRows;
    kernel(what, ColumnRun{cx, cy, own, what.limit, counts, ends});
    for (int row = own; row < rows; ++row) {
        counts[row] = counts[rows - row];
        if (ends)
            ends[row] = ends[rows - row];
    }
}
