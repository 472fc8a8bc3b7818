#include "engine/FormulaTable.h"

#include "engine/FormulaSteps.h"
#include "engine/KernelLoops.h"

namespace {

using namespace formula_steps;
using kernel_loops::PairedRows;

// The two formula menus name the rational function differently, and only the
// drawing window's first items carry accelerators.
constexpr FormulaRecord kFormulas[] = {
    {1, "pmiChangeZ2", "Ｚの２乗（マンデルブロ集合）", "pmiDrawZ2", "Ｚの２乗（マンデルブロ集合）(&2)",
     false, -0.5L, 0.0L, IteratePlainly<Z2>, SquareRows, 0, true},
    {2, "pmiChangeZ3", "Ｚの３乗", "pmiDrawZ3", "Ｚの３乗(&3)",
     true, 0.0L, 0.0L, IteratePlainly<Z3>, PairedRows<Z3>, 0, true},
    {3, "pmiChangeZ4", "Ｚの４乗", "pmiDrawZ4", "Ｚの４乗(&4)",
     true, 0.0L, 0.0L, IteratePlainly<Z4>, PairedRows<Z4>, 0, true},
    {4, "pmiChageZ4Polynom", "Ｚの４次多項式", "pmiDrawZ4Poly", "Ｚの４次多項式",
     true, 0.0L, 0.0L, IteratePlainly<Z4Poly>, PolynomialRows, kReadsXi | kReadsEta | kReadsLambda | kReadsMu, true},
    {5, "pmiChangeZRatio", "Ｚの有理関数", "pmiDrawZRatio", "Ｚの有理型関数",
     true, 0.0L, 0.0L, IteratePlainly<ZRatio>, RationalRows, kReadsXi | kReadsEta, true},
    {6, "pmiChangeExpZ2", "謎の関数", "pmiDrawExpZ2", "謎の関数",
     false, -1.5L, 0.0L, IteratePlainly<ExpZ2>, ExponentialRows, 0, true},
};

constexpr bool TypesRunInOrder()
{
    int expected = kFirstFormulaType;
    for (const FormulaRecord& f : kFormulas)
        if (f.type != expected++)
            return false;
    return expected == kLastFormulaType + 1;
}
static_assert(TypesRunInOrder(), "the records hold the types kFirstFormulaType to kLastFormulaType in order");

}  // namespace

std::span<const FormulaRecord> FormulaTable() { return kFormulas; }

const FormulaRecord* FindFormula(int type)
{
    if (type < kFirstFormulaType || type > kLastFormulaType)
        return nullptr;
    return &kFormulas[type - kFirstFormulaType];
}

bool ConjugatesShareCounts(const FormulaRecord& formula, const FormulaParams& p)
{
    if (!formula.conjugateWithRealCoefficients)
        return false;
    const struct {
        unsigned flag;
        const ComplexValue& value;
    } read[] = {{kReadsXi, p.Gz}, {kReadsEta, p.It}, {kReadsLambda, p.Rm}, {kReadsMu, p.Mu}};
    for (const auto& k : read)
        if ((formula.coefficients & k.flag) && !(k.value.im == 0))
            return false;
    return true;
}

PlanePoint WholeViewCentre(int type, const ComplexValue& omicron)
{
    const FormulaRecord* formula = FindFormula(type);
    if (!formula || formula->wholeCentreIsOmicron)
        return PlanePoint{omicron.re, omicron.im};
    return PlanePoint{formula->wholeCentreRe, formula->wholeCentreIm};
}

PlaneRegion WholeViewRegion(int type, const ComplexValue& omicron, PictureSize picture)
{
    const PlanePoint centre = WholeViewCentre(type, omicron);
    PlaneRegion r;
    r.width = picture.width;
    r.height = picture.height;
    r.extentX = kWholeViewExtent;
    r.extentY = (static_cast<long double>(picture.height) / picture.width) * kWholeViewExtent;
    r.pitchX = kWholeViewExtent / picture.width;
    r.pitchY = r.extentY / picture.height;
    r.centreX = centre.re;
    r.centreY = centre.im;
    return r;
}
