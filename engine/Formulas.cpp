#include "engine/Formulas.h"

#include "engine/JuliaTable.h"

EscapeCount IteratePoint(const Iteration& what, long double cx, long double cy, EscapeEnd* end)
{
    if (what.julia.isSet)
        return IterateJuliaPoint(what, cx, cy, end);
    const FormulaRecord* formula = FindFormula(what.type);
    return formula ? formula->iteratePoint(cx, cy, what.params, what.limit, end) : what.limit;
}

int IteratePoint(int type, long double cx, long double cy, const FormulaParams& params)
{
    return IteratePoint(Iteration{type, params}, cx, cy);
}

FormulaParams StartupEditedParams()
{
    FormulaParams p{};
    p.Gz.re = 1.01L;
    p.It.re = 1.12L;
    p.Rm.re = 1.18L;
    return p;
}
