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

    bool Settle(long double nx, long double ny)
    {
        const long double xx = nx * nx;
        const long double yy = ny * ny;
        x = nx;
        y = ny;
        squareDiff = xx - yy;
        return xx + yy >= kEscapeRadiusSquared;
    }
};

// The polynomial map without its products by zero coefficient parts.
struct SparsePolynomialOrbit {
    const SparseZ4Poly* map = nullptr;
    long double x = 0.0L;
    long double y = 0.0L;

    bool StepEscapes(long double cx, long double cy, const FormulaParams&)
    {
        map->Step(x, y, cx, cy);
        return x * x + y * y >= kEscapeRadiusSquared;
    }
};

// exp(1 - z^2) + c. glibc's sincosl reduces the argument once and runs the
// same kernels as cosl and sinl, so the pair is the same bits as two calls.
struct ExpOrbit : SquaresOrbit {
    bool StepEscapes(long double cx, long double cy, const FormulaParams&)
    {
        const long double e = std::exp(1.0L - squareDiff);
        long double sine = 0.0L;
        long double cosine = 0.0L;
        sincosl(0.0L - x * 2 * y, &sine, &cosine);
        return Settle(e * cosine + cx, e * sine + cy);
    }
};

}  // namespace

void SquareRows(const Iteration&, long double cx, const long double* cy, int rows, EscapeCount* counts)
{
    IterateSquareColumn(cx, cy, rows, counts);
}

void PolynomialRows(const Iteration& what, long double cx, const long double* cy, int rows, EscapeCount* counts)
{
    const FormulaParams& params = what.params;
    if (RealZ4Poly::Applies(params))
        return PairedRun<PlainOrbit<RealZ4Poly>>(cx, cy, rows, params, counts).Run();
    if (!SparseZ4Poly::Applies(params))
        return PairedRun<PlainOrbit<Z4Poly>>(cx, cy, rows, params, counts).Run();
    const SparseZ4Poly map(params);
    SparsePolynomialOrbit start;
    start.map = &map;
    PairedRun<SparsePolynomialOrbit>(cx, cy, rows, params, counts, start).Run();
}

void RationalRows(const Iteration& what, long double cx, const long double* cy, int rows, EscapeCount* counts)
{
    if (RealZRatio::Applies(what.params))
        return RunSingly<PlainOrbit<RealZRatio>>(cx, cy, rows, what.params, counts);
    RunSingly<PlainOrbit<ZRatio>>(cx, cy, rows, what.params, counts);
}

void ExponentialRows(const Iteration& what, long double cx, const long double* cy, int rows, EscapeCount* counts)
{
    RunSingly<ExpOrbit>(cx, cy, rows, what.params, counts);
}
