#include "engine/JuliaTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/FormulaSteps.h"
#include "engine/FormulaTable.h"
#include "engine/KernelLoops.h"

namespace {

using namespace formula_steps;
using kernel_loops::JuliaSingleRows;

// z^2 + c runs the plain C++ loop: the x87 loop and the interior trap
// belong to the plane, where every orbit starts at 0 and c is the pixel's.
constexpr JuliaRecord kJulia[] = {
    {1, IterateJuliaPlainly<Z2>, JuliaSingleRows<Z2>, true, false, 4.4L},
    {2, IterateJuliaPlainly<Z3>, JuliaSingleRows<Z3>, false, false, 3.6L},
    {3, IterateJuliaPlainly<Z4>, JuliaSingleRows<Z4>, true, false, 3.6L},
    {4, IterateJuliaPlainly<Z4Poly>, JuliaPolynomialRows, false, true, 3.6L},
    {5, IterateJuliaPlainly<ZRatio>, JuliaRationalRows, false, false, 4.4L},
    {6, IterateJuliaPlainly<ExpZ2>, JuliaExponentialRows, true, false, 6.4L},
};

constexpr bool TypesRunInOrder()
{
    int expected = kFirstFormulaType;
    for (const JuliaRecord& j : kJulia)
        if (j.type != expected++)
            return false;
    return expected == kLastFormulaType + 1;
}
static_assert(TypesRunInOrder(), "one Julia record for each formula, in the table's order");

PlanePoint WholeCentre(const JuliaRecord& julia, const FormulaParams& p)
{
    if (!julia.centreOfPolynomial)
        return PlanePoint{};
    ComplexValue four{0, 4 * p.Gz.re, 4 * p.Gz.im}, quotient;
    ComplexDiv(p.It, four, quotient);
    if (quotient.status != 0 || !std::isfinite(quotient.re) || !std::isfinite(quotient.im))
        return PlanePoint{};
    return PlanePoint{-quotient.re, -quotient.im};
}

}  // namespace

const JuliaRecord* FindJulia(int type)
{
    if (type < kFirstFormulaType || type > kLastFormulaType)
        return nullptr;
    return &kJulia[type - kFirstFormulaType];
}

EscapeCount IterateJuliaPoint(const Iteration& what, long double zx, long double zy, EscapeEnd* end)
{
    const JuliaRecord* julia = FindJulia(what.type);
    return julia ? julia->iteratePoint(zx, zy, what.julia.re, what.julia.im, what.params, what.limit, end)
                 : what.limit;
}

bool JuliaRowsMirror(const Iteration& what, long double cx)
{
    const JuliaRecord* julia = FindJulia(what.type);
    if (!julia)
        return false;
    return (what.julia.im == 0 && ConjugatesShareCounts(*FindFormula(what.type), what.params)) ||
           (julia->even && cx == 0);
}

PlaneRegion JuliaWholeRegion(int type, const FormulaParams& params, PictureSize picture)
{
    const JuliaRecord* julia = FindJulia(type);
    const long double side = julia ? julia->wholeSide : kWholeViewExtent;
    const PlanePoint centre = julia ? WholeCentre(*julia, params) : PlanePoint{};
    const long double w = std::max(picture.width, 1);
    const long double h = std::max(picture.height, 1);
    PlaneRegion r;
    r.width = picture.width;
    r.height = picture.height;
    r.extentX = w >= h ? side * (w / h) : side;
    r.extentY = (h / w) * r.extentX;
    r.pitchX = r.extentX / w;
    r.pitchY = r.extentY / h;
    r.centreX = centre.re;
    r.centreY = centre.im;
    return r;
}

std::string JuliaPointCaption(const JuliaPoint& c)
{
    char text[96];
    std::snprintf(text, sizeof text, "%.3Lg%+.3Lgi", c.re, c.im);
    return text;
}

bool IsJuliaParameter(long double re, long double im) { return std::isfinite(re) && std::isfinite(im); }
