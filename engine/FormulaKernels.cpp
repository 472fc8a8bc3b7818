#include "engine/FormulaKernels.h"

#include <cmath>

#include "engine/FormulaSteps.h"
#include "engine/KernelLoops.h"
#include "engine/SquareColumn.h"

namespace {

using namespace formula_steps;
using namespace kernel_loops;

// An orbit that keeps x*x - y*y of its escape test: the next step starts with
// that very difference of the same products.
struct SquaresOrbit {
    long double x = 0.0L;
    long double y = 0.0L;
    long double squareDiff = 0.0L;

    void StartAt(long double x0, long double y0)
    {
        x = x0;
        y = y0;
        squareDiff = x0 * x0 - y0 * y0;
    }
    long double Settle(long double nx, long double ny)
    {
        const long double xx = nx * nx;
        const long double yy = ny * ny;
        x = nx;
        y = ny;
        squareDiff = xx - yy;
        return xx + yy;
    }
};

// The polynomial map without its products by zero coefficient parts.
struct SparsePolynomialOrbit {
    const SparseZ4Poly* map = nullptr;
    long double x = 0.0L;
    long double y = 0.0L;

    void StartAt(long double x0, long double y0)
    {
        x = x0;
        y = y0;
    }
    long double Step(long double cx, long double cy, const FormulaParams&)
    {
        map->Step(x, y, cx, cy);
        return x * x + y * y;
    }
};

// exp(1 - z^2) + c. glibc's sincosl reduces the argument once and runs the
// same kernels as cosl and sinl, so the pair is the same bits as two calls.
struct ExpOrbit : SquaresOrbit {
    long double Step(long double cx, long double cy, const FormulaParams&)
    {
        const long double e = std::exp(1.0L - squareDiff);
        long double sine = 0.0L;
        long double cosine = 0.0L;
        sincosl(0.0L - x * 2 * y, &sine, &cosine);
        return Settle(e * cosine + cx, e * sine + cy);
    }
};

template <typename Start>
void PolynomialRowsFrom(const Iteration& what, const ColumnRun& run, const Start& from)
{
    const FormulaParams& params = what.params;
    if (RealZ4Poly::Applies(params))
        return RunRows(run, params, PlainOrbit<RealZ4Poly>{}, from);
    if (!SparseZ4Poly::Applies(params))
        return RunRows(run, params, PlainOrbit<Z4Poly>{}, from);
    const SparseZ4Poly map(params);
    SparsePolynomialOrbit start;
    start.map = &map;
    RunRows(run, params, start, from);
}

template <typename Start>
void RationalRowsFrom(const Iteration& what, const ColumnRun& run, const Start& from)
{
    if (RealZRatio::Applies(what.params))
        return RunSingly<PlainOrbit<RealZRatio>, Start>(run, what.params, {}, from);
    RunSingly<PlainOrbit<ZRatio>, Start>(run, what.params, {}, from);
}

}  // namespace

void SquareRows(const Iteration&, const ColumnRun& run)
{
    IterateSquareColumn(run);
}

void PolynomialRows(const Iteration& what, const ColumnRun& run) { PolynomialRowsFrom(what, run, PlaneStart{}); }

void RationalRows(const Iteration& what, const ColumnRun& run) { RationalRowsFrom(what, run, PlaneStart{}); }

void ExponentialRows(const Iteration& what, const ColumnRun& run)
{
    RunSingly<ExpOrbit>(run, what.params);
}

// The products SparseZ4Poly leaves out are zeros only where every power of
// the starting point is finite: on the plane z0 = 0, and every later point
// is inside the circle; a Julia set's first point may lie anywhere.
bool StartsAreModerate(const ColumnRun& run)
{
    constexpr long double kModerate = 0x1p1000L;  // its fourth power times 2^32 is finite
    if (!(std::fabs(run.cx) <= kModerate))
        return false;
    for (int row = 0; row < run.rows; ++row)
        if (!(std::fabs(run.cy[row]) <= kModerate))
            return false;
    return true;
}

void JuliaPolynomialRows(const Iteration& what, const ColumnRun& run)
{
    if (!StartsAreModerate(run))
        return RunRows(run, what.params, PlainOrbit<Z4Poly>{}, JuliaStartOf(what));
    PolynomialRowsFrom(what, run, JuliaStartOf(what));
}

void JuliaRationalRows(const Iteration& what, const ColumnRun& run)
{
    RationalRowsFrom(what, run, JuliaStartOf(what));
}

void JuliaExponentialRows(const Iteration& what, const ColumnRun& run)
{
    RunSingly<ExpOrbit, JuliaStart>(run, what.params, {}, JuliaStartOf(what));
}
