#include "engine/Formulas.h"

#include "engine/FormulaSteps.h"

using namespace formula_steps;

int IteratePoint(int type, long double cx, long double cy, const FormulaParams& params)
{
    switch (type) {
    case 1: return IteratePlainly<Z2>(cx, cy, params);
    case 2: return IteratePlainly<Z3>(cx, cy, params);
    case 3: return IteratePlainly<Z4>(cx, cy, params);
    case 4: return IteratePlainly<Z4Poly>(cx, cy, params);
    case 5: return IteratePlainly<ZRatio>(cx, cy, params);
    case 6: return IteratePlainly<ExpZ2>(cx, cy, params);
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
