#include "engine/Formulas.h"

int IteratePoint(int type, long double cx, long double cy, const FormulaParams& params)
{
    const FormulaRecord* formula = FindFormula(type);
    return formula ? formula->iteratePoint(cx, cy, params) : kCaptured;
}

FormulaParams StartupEditedParams()
{
    FormulaParams p{};
    p.Gz.re = 1.01L;
    p.It.re = 1.12L;
    p.Rm.re = 1.18L;
    return p;
}
