#include "engine/FormulaKernels.h"

#include <cmath>

#include "engine/FormulaSteps.h"
#include "engine/KernelLoops.h"
#include "engine/SquarePair.h"

namespace {

using namespace formula_steps;
using namespace kernel_loops;

// An orbit that keeps x*x - y*y of its escape test: the next step starts with
// that very difference of the same products.
struct SquaresOrbit {
    long double x = 0.0L;
    long double y = 0.0L;
    long double squareDiff = 0.0L;

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

}  // namespace

void SquareRows(const Iteration&, const ColumnRun& run)
{
    IterateSquareColumn(run);
}

void PolynomialRows(const Iteration& what, const ColumnRun& run)
{
    const FormulaParams& params = what.params;
    if (RealZ4Poly::Applies(params))
        return PairedRun<PlainOrbit<RealZ4Poly>>(run, params).Run();
    if (!SparseZ4Poly::Applies(params))
        return PairedRun<PlainOrbit<Z4Poly>>(run, params).Run();
    const SparseZ4Poly map(params);
    SparsePolynomialOrbit start;
    start.map = &map;
    PairedRun<SparsePolynomialOrbit>(run, params, start).Run();
}

void RationalRows(const Iteration& what, const ColumnRun& run)
{
    if (RealZRatio::Applies(what.params))
        return RunSingly<PlainOrbit<RealZRatio>>(run, what.params);
    RunSingly<PlainOrbit<ZRatio>>(run, what.params);
}

void ExponentialRows(const Iteration& what, const ColumnRun& run)
{
    RunSingly<ExpOrbit>(run, what.params);
}
