#include "engine/Formulas.h"

#include "engine/FormulaSteps.h"

namespace {

using namespace formula_steps;

template <typename Formula>
int Iterate(long double cx, long double cy, const FormulaParams& params)
{
    long double x = 0.0L;
    long double y = 0.0L;
    for (int j = 0; j < kIterationLimit; ++j) {
        Formula::Step(x, y, cx, cy, params);
        const long double r = x * x + y * y;
        if (r >= kEscapeRadiusSquared)
            return j;
    }
    return kCaptured;
}

}  // namespace

int IteratePoint(int type, long double cx, long double cy, const FormulaParams& params)
{
    switch (type) {
    case 1: return Iterate<Z2>(cx, cy, params);
    case 2: return Iterate<Z3>(cx, cy, params);
    case 3: return Iterate<Z4>(cx, cy, params);
    case 4: return Iterate<Z4Poly>(cx, cy, params);
    case 5: return Iterate<ZRatio>(cx, cy, params);
    case 6: return Iterate<ExpZ2>(cx, cy, params);
    default: return kCaptured;
    }
}

FormulaParams StartupEditedParams()
{
    FormulaParams p{};
    p.Gz.re = 1.01L;
    p.It.re = 1.12L;
    p.Rm.re = 1.18L;
    return p;
}
