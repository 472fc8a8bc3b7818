#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "../../bench/VerifyViews.h"
#include "engine/ColumnKernels.h"
#include "engine/EngineState.h"
#include "engine/FormulaSteps.h"
#include "engine/Formulas.h"
#include "engine/InteriorTrap.h"
#include "engine/SquareColumn.h"
#include "engine/SquareLaneSteps.h"
#include "engine/SquarePair.h"
#include "engine/SquareTriple.h"

namespace {

const FormulaParams kNoParams{};

ComplexValue Value(long double re, long double im)
{
    ComplexValue v;
    v.re = re;
    v.im = im;
    return v;
}

// Exponent (with sign) and 64-bit mantissa of an extended value.
struct ExtendedBits {
    uint16_t signExponent;
    uint64_t mantissa;
};

ExtendedBits BitsOf(long double value)
{
    unsigned char bytes[10];
    std::memcpy(bytes, &value, sizeof bytes);
    ExtendedBits bits{};
    std::memcpy(&bits.mantissa, bytes, 8);
    std::memcpy(&bits.signExponent, bytes + 8, 2);
    return bits;
}

TEST(IterateMandelbrot, EscapeCountsOnTheRealAxis)
{
    EXPECT_EQ(IteratePoint(1, 0.0L, 0.0L, kNoParams), kCaptured);
    EXPECT_EQ(IteratePoint(1, -2.0L, 0.0L, kNoParams), kCaptured);  // -2, 2, 2, ... with |z|^2 = 4
    EXPECT_EQ(IteratePoint(1, 2.0L, 0.0L, kNoParams), 1);           // 2, then 6
    EXPECT_EQ(IteratePoint(1, 3.2L, 0.0L, kNoParams), 0);           // 10.24 at once
    EXPECT_EQ(IteratePoint(1, 3.1L, 0.0L, kNoParams), 1);           // 9.61, then 12.71
}

TEST(EscapeRadius, ExactlyTenEscapes)
{
    // Each first or second iterate below lands exactly on |z|^2 = 10.
    EXPECT_EQ(IteratePoint(1, 3.0L, 1.0L, kNoParams), 0);   // z1 = 3 + i
    EXPECT_EQ(IteratePoint(1, -1.0L, 3.0L, kNoParams), 0);  // z1 = -1 + 3i
    EXPECT_EQ(IteratePoint(1, 1.0L, 1.0L, kNoParams), 1);   // z2 = 2i + 1 + i = 1 + 3i
    EXPECT_EQ(IteratePoint(2, 1.0L, 1.0L, kNoParams), 1);   // z2 = (1+i)^3 + 1 + i = -1 + 3i
    EXPECT_EQ(IteratePoint(3, 1.0L, 1.0L, kNoParams), 1);   // z2 = (1+i)^4 + 1 + i = -3 + i
    EXPECT_EQ(IteratePoint(5, 3.0L, -1.0L, StartupEditedParams()), 0);
}

TEST(EscapeRadius, JustInsideTenDoesNotEscapeAtThatStep)
{
    const long double below = std::nextafter(3.0L, 0.0L);
    EXPECT_EQ(IteratePoint(1, below, 1.0L, kNoParams), 1);
}

TEST(IterateRational, PoleHitStopsThePointAtOnce)
{
    const FormulaParams p = StartupEditedParams();
    // z1 = 0 + eta = eta; then z - eta is 0, the division fails, z2 = 10 + 10i.
    EXPECT_EQ(IteratePoint(5, p.It.re, p.It.im, p), 1);
    EXPECT_EQ(IteratePoint(5, 1.12L, 0.0L, p), 1);
}

TEST(IterateRational, PoleWithImaginaryPart)
{
    FormulaParams p = StartupEditedParams();
    p.It = Value(0.5L, -0.75L);
    EXPECT_EQ(IteratePoint(5, 0.5L, -0.75L, p), 1);
}

TEST(IterateRational, OriginStaysAtZero)
{
    EXPECT_EQ(IteratePoint(5, 0.0L, 0.0L, StartupEditedParams()), kCaptured);
}

TEST(IterateQuarticPolynomial, ZeroCoefficientsMapZToC)
{
    const FormulaParams zero{};
    const struct {
        long double cx, cy;
        int expected;
    } cases[] = {
        {0.0L, 0.0L, kCaptured},  {3.1L, 0.0L, kCaptured},    {-2.0L, -2.0L, kCaptured},
        {0.0L, 3.16L, kCaptured}, {3.0L, 1.0L, 0},            {3.2L, 0.0L, 0},
        {0.0L, -3.17L, 0},        {-2.5L, 2.5L, 0},           {100.0L, -100.0L, 0},
        {1.0L, 2.9L, kCaptured},  {-1.0L, -3.0L, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IteratePoint(4, c.cx, c.cy, zero), c.expected) << c.cx << " + " << c.cy << "i";
}

TEST(IterateFormulas, UnknownTypeCapturesEveryPoint)
{
    EXPECT_EQ(IteratePoint(0, 5.0L, 5.0L, kNoParams), kCaptured);
    EXPECT_EQ(IteratePoint(7, 5.0L, 5.0L, kNoParams), kCaptured);
}

TEST(FormulaParameters, StartupEditedValues)
{
    const FormulaParams p = StartupEditedParams();
    EXPECT_EQ(p.Gz.re, 1.01L);
    EXPECT_EQ(p.It.re, 1.12L);
    EXPECT_EQ(p.Rm.re, 1.18L);
    for (const ComplexValue* v : {&p.Og, &p.Gz, &p.It, &p.Rm, &p.Mu})
        EXPECT_EQ(v->status, 0);
    for (const ComplexValue* v : {&p.Og, &p.Gz, &p.It, &p.Rm, &p.Mu})
        EXPECT_EQ(v->im, 0.0L);
    EXPECT_EQ(p.Og.re, 0.0L);
    EXPECT_EQ(p.Mu.re, 0.0L);
    // The extended values, not the doubles nearest to the decimals.
    EXPECT_NE(p.Gz.re, static_cast<long double>(1.01));
    EXPECT_NE(p.It.re, static_cast<long double>(1.12));
}

TEST(FormulaParameters, EngineStartsWithEditedSetAndZeroActiveSet)
{
    ResetEngineState();
    EXPECT_EQ(EditedParams.Gz.re, 1.01L);
    EXPECT_EQ(EditedParams.It.re, 1.12L);
    EXPECT_EQ(EditedParams.Rm.re, 1.18L);
    for (const ComplexValue* v : {&ActiveParams.Og, &ActiveParams.Gz, &ActiveParams.It, &ActiveParams.Rm,
                                  &ActiveParams.Mu}) {
        EXPECT_EQ(v->status, 0);
        EXPECT_EQ(v->re, 0.0L);
        EXPECT_EQ(v->im, 0.0L);
    }
}

TEST(ExtendedConstants, KeyStepIsPiOverEight)
{
    const ExtendedBits bits = BitsOf(StartupKeyStep());
    EXPECT_EQ(bits.signExponent, 0x3FFD);
    EXPECT_EQ(bits.mantissa, 0xC90FDAA22168C235ull);
    ResetEngineState();
    EXPECT_EQ(KeyStep, StartupKeyStep());
}

TEST(ExtendedConstants, WholeViewExtent)
{
    const ExtendedBits bits = BitsOf(3.6L);
    EXPECT_EQ(bits.signExponent, 0x4000);
    EXPECT_EQ(bits.mantissa, 0xE666666666666666ull);
}

// Plain restatement of the six maps, one step each, to check the engine's
// counts against.
struct Z {
    long double x, y;
};

Z StepSquare(Z z, long double cx, long double cy, const FormulaParams&)
{
    return {z.x * z.x - z.y * z.y + cx, z.x * 2 * z.y + cy};
}

Z StepCube(Z z, long double cx, long double cy, const FormulaParams&)
{
    const long double x = z.x, y = z.y;
    return {x * x * x - x * 3 * y * y + cx, x * 3 * x * y - y * y * y + cy};
}

Z StepFourth(Z z, long double cx, long double cy, const FormulaParams&)
{
    const long double x = z.x, y = z.y;
    return {x * x * x * x - x * 6 * x * y * y + y * y * y * y + cx, x * 4 * y * (x * x - y * y) + cy};
}

Z StepPolynomial(Z z, long double cx, long double cy, const FormulaParams& p)
{
    const long double x = z.x, y = z.y;
    const long double a2 = x * x - y * y;
    const long double b2 = x * 2 * y;
    const long double a3 = x * x * x - x * 3 * y * y;
    const long double b3 = x * 3 * x * y - y * y * y;
    const long double a4 = x * x * x * x - x * 6 * x * y * y + y * y * y * y;
    const long double b4 = x * 4 * y * (x * x - y * y);
    long double nx = p.Gz.re * a4 - p.Gz.im * b4;
    nx += p.It.re * a3 - p.It.im * b3;
    nx += p.Rm.re * a2 - p.Rm.im * b2;
    nx += p.Mu.re * x - p.Mu.im * y;
    nx += cx;
    long double ny = p.Gz.re * b4 + p.Gz.im * a4;
    ny += p.It.re * b3 + p.It.im * a3;
    ny += p.Rm.re * b2 + p.Rm.im * a2;
    ny += p.Mu.re * y + p.Mu.im * x;
    ny += cy;
    return {nx, ny};
}

Z StepRational(Z z, long double cx, long double cy, const FormulaParams& p)
{
    const long double x = z.x, y = z.y;
    const long double sqRe = x * x - y * y;  // z * z
    const long double sqIm = x * y + y * x;
    const long double qRe = x - p.Gz.re;  // z - xi
    const long double qIm = y - p.Gz.im;
    const long double nRe = sqRe * qRe - sqIm * qIm;
    const long double nIm = sqRe * qIm + sqIm * qRe;
    const long double dRe = x - p.It.re;  // z - eta
    const long double dIm = y - p.It.im;
    if (dRe == 0 && dIm == 0)
        return {10, 10};
    const long double m = dRe * dRe + dIm * dIm;
    if (m == 0)
        return {10, 10};
    return {(nRe * dRe + nIm * dIm) / m + cx, (nIm * dRe - nRe * dIm) / m + cy};
}

Z StepExponential(Z z, long double cx, long double cy, const FormulaParams&)
{
    const long double a = 1 - (z.x * z.x - z.y * z.y);
    const long double b = 0 - z.x * 2 * z.y;
    return {std::exp(a) * std::cos(b) + cx, std::exp(a) * std::sin(b) + cy};
}

using StepFunction = Z (*)(Z, long double, long double, const FormulaParams&);

int ReferenceCount(StepFunction step, long double cx, long double cy, const FormulaParams& p)
{
    Z z{0, 0};
    for (int j = 0; j < 256; ++j) {
        z = step(z, cx, cy, p);
        if (z.x * z.x + z.y * z.y >= 10)
            return j;
    }
    return 256;
}

StepFunction ReferenceStep(int type)
{
    switch (type) {
    case 1: return StepSquare;
    case 2: return StepCube;
    case 3: return StepFourth;
    case 4: return StepPolynomial;
    case 5: return StepRational;
    default: return StepExponential;
    }
}

struct GridView {
    long double centreX, centreY, extentX;
};

// Whole views of the six types with the given parameters.
GridView WholeGridView(int type, const FormulaParams& p)
{
    if (type == 1)
        return {-0.5L, 0.0L, 3.6L};
    if (type == 6)
        return {-1.5L, 0.0L, 3.6L};
    return {p.Og.re, p.Og.im, 3.6L};
}

struct GridResult {
    std::set<int> counts;
    // The escaped point with the highest count: close to the boundary.
    long double slowestX = 0, slowestY = 0;
};

// Compares the engine, point by point and column by column, with the
// reference over a 61 x 47 grid of the view, pixels mapped as the render maps them.
GridResult ExpectGridMatchesReference(int type, const FormulaParams& p, const GridView& view)
{
    constexpr int W = 61, H = 47;
    const long double dwy = (static_cast<long double>(H) / W) * view.extentX;
    std::vector<long double> cys(H);
    for (int y = 0; y < H; ++y)
        cys[y] = (y - H / 2.0L) * dwy / H + view.centreY;
    GridResult result;
    int slowest = -1;
    int mismatches = 0;
    for (int x = 0; x < W; ++x) {
        const long double cx = (x - W / 2.0L) * view.extentX / W + view.centreX;
        std::vector<EscapeCount> column(H);
        IterateColumn(Iteration{type, p}, cx, cys.data(), H, column.data());
        for (int y = 0; y < H; ++y) {
            const long double cy = cys[y];
            const int expected = ReferenceCount(ReferenceStep(type), cx, cy, p);
            const int actual = IteratePoint(type, cx, cy, p);
            if ((actual != expected || column[y] != expected) && ++mismatches <= 5)
                ADD_FAILURE() << "type " << type << " pixel (" << x << ", " << y << "): engine " << actual
                              << ", column " << column[y] << ", reference " << expected;
            result.counts.insert(expected);
            if (expected != kCaptured && expected > slowest) {
                slowest = expected;
                result.slowestX = cx;
                result.slowestY = cy;
            }
        }
    }
    EXPECT_EQ(mismatches, 0) << "type " << type;
    // A grid of one count would compare nothing worth comparing.
    EXPECT_GE(result.counts.size(), 4u) << "type " << type;
    EXPECT_EQ(result.counts.count(kCaptured), 1u) << "type " << type;
    return result;
}

// The whole view, then a view 200 times smaller around its slowest escaping
// point, where long orbits turn a difference in the last bit into another count.
void ExpectTypeMatchesReference(int type, const FormulaParams& p)
{
    const GridResult whole = ExpectGridMatchesReference(type, p, WholeGridView(type, p));
    const GridResult edge =
        ExpectGridMatchesReference(type, p, GridView{whole.slowestX, whole.slowestY, 3.6L / 200});
    EXPECT_GE(edge.counts.size(), 40u) << "type " << type;
}

FormulaParams ComplexParams()
{
    FormulaParams p{};
    p.Og = Value(0.1L, -0.2L);
    p.Gz = Value(1.01L, 0.2L);
    p.It = Value(1.12L, -0.3L);
    p.Rm = Value(1.18L, 0.05L);
    p.Mu = Value(0.3L, -0.7L);
    return p;
}

TEST(FormulaGrid, EveryTypeMatchesReferenceWithStartupParameters)
{
    for (int type = kFirstFormulaType; type <= kLastFormulaType; ++type)
        ExpectTypeMatchesReference(type, StartupEditedParams());
}

TEST(FormulaGrid, PolynomialAndRationalMatchWithComplexParameters)
{
    ExpectTypeMatchesReference(4, ComplexParams());
    ExpectTypeMatchesReference(5, ComplexParams());
}

// The polynomial's step leaves out products by coefficient parts that are
// zero: parts zero here and there, and a whole coefficient zero.
TEST(FormulaGrid, PolynomialWithZeroCoefficientPartsMatches)
{
    FormulaParams p{};
    p.Gz = Value(0.0L, 0.7L);
    p.It = Value(1.1L, 0.0L);
    p.Mu = Value(0.3L, -0.2L);
    ExpectTypeMatchesReference(4, p);
}

// A view centred on the real axis pairs every row with its conjugate; complex
// coefficients break the symmetry of the orbits, so no row may copy another.
TEST(FormulaGrid, ComplexCoefficientsOnAViewCentredOnTheAxis)
{
    for (int type : {4, 5})
        ExpectGridMatchesReference(type, ComplexParams(), GridView{0.1L, 0.0L, 3.6L});
}

// With one coefficient 1 and the others 0 the polynomial is a plain power map.
TEST(FormulaGrid, PolynomialReducesToPowerMaps)
{
    const struct {
        ComplexValue FormulaParams::*coefficient;
        int powerType;
    } cases[] = {{&FormulaParams::Rm, 1}, {&FormulaParams::It, 2}, {&FormulaParams::Gz, 3}};
    for (const auto& c : cases) {
        FormulaParams p{};
        (p.*c.coefficient).re = 1.0L;
        for (int x = 0; x < 41; ++x)
            for (int y = 0; y < 31; ++y) {
                const long double cx = (x - 20.5L) * 3.6L / 41;
                const long double cy = (y - 15.5L) * 2.7L / 31;
                ASSERT_EQ(IteratePoint(4, cx, cy, p), IteratePoint(c.powerType, cx, cy, kNoParams))
                    << "power type " << c.powerType << " at " << cx << " + " << cy << "i";
            }
    }
}

// --- Formula table -----------------------------------------------------------

// Points of a 41 x 31 grid over the type's whole view whose counts differ
// between the parameter sets a and b, or (without b) between c and its conjugate.
int GridDifferences(int type, const FormulaParams& a, const FormulaParams* b = nullptr)
{
    const PlanePoint centre = WholeViewCentre(type, a.Og);
    int differences = 0;
    for (int x = 0; x < 41; ++x)
        for (int y = 0; y < 31; ++y) {
            const long double cx = centre.re + (x - 20) * 3.6L / 41;
            const long double cy = centre.im + (y - 15.5L) * 2.7L / 31;
            const int count = IteratePoint(type, cx, cy, a);
            differences += count != (b ? IteratePoint(type, cx, cy, *b) : IteratePoint(type, cx, -cy, a));
        }
    return differences;
}

// The table says which coefficients each step reads; its conjugate rule
// lets rows share counts with every coefficient read real, and refuses a
// complex one of them, where a point and its conjugate do differ.
TEST(FormulaTable, ConjugatesShareCountsOnlyWhileEveryCoefficientReadIsReal)
{
    const struct {
        ComplexValue FormulaParams::*part;
        unsigned flag;
    } coefficients[] = {{&FormulaParams::Gz, kReadsXi},
                        {&FormulaParams::It, kReadsEta},
                        {&FormulaParams::Rm, kReadsLambda},
                        {&FormulaParams::Mu, kReadsMu}};
    const FormulaParams real = StartupEditedParams();
    for (const FormulaRecord& formula : FormulaTable()) {
        SCOPED_TRACE(formula.type);
        ASSERT_TRUE(ConjugatesShareCounts(formula, real));
        EXPECT_EQ(GridDifferences(formula.type, real), 0);
        for (const auto& k : coefficients) {
            FormulaParams complex = real;
            (complex.*k.part).im = 0.4L;
            const bool read = GridDifferences(formula.type, real, &complex) > 0;
            EXPECT_EQ(read, (formula.coefficients & k.flag) != 0) << "coefficient " << k.flag;
            if (read) {
                EXPECT_FALSE(ConjugatesShareCounts(formula, complex)) << "coefficient " << k.flag;
                EXPECT_GT(GridDifferences(formula.type, complex), 0) << "coefficient " << k.flag;
            }
        }
    }
}

// --- Column kernels ----------------------------------------------------------

bool SameBits(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

// Columns through points whose orbits come back to a point they passed (c =
// 0 and -1 to 0 itself, -2 and -0.2 to a fixed point, i to a 2-cycle, -1.3
// and -1.755 to longer cycles), and through points whose orbits linger close
// to one point before they escape: just outside the set (0.2502, 0.25015), or
// one bit beyond -2, beside the repelling fixed point 2.
TEST(ColumnKernel, OrbitsThatComeBackAreCapturedAndLateEscapesAreNot)
{
    const FormulaParams p = StartupEditedParams();
    const std::vector<long double> rows = {0.0L, 1.0L, -1.0L, 1e-9L, 0.3L, -0.3L, 0.02L};
    const long double beyondMinusTwo = std::nextafter(-2.0L, -3.0L);
    int captured = 0, late = 0;
    for (int type : {1, 2, 5})
        for (long double cx : {0.0L, -1.0L, -2.0L, -0.2L, -1.3L, -1.755L, 0.2502L, 0.25015L, 0.385L, beyondMinusTwo}) {
            std::vector<EscapeCount> column(rows.size());
            IterateColumn(Iteration{type, p}, cx, rows.data(), int(rows.size()), column.data());
            for (size_t i = 0; i < rows.size(); ++i) {
                const int expected = IteratePoint(type, cx, rows[i], p);
                ASSERT_EQ(column[i], expected) << "type " << type << " at " << cx << " + " << rows[i] << "i";
                captured += expected == kCaptured;
                late += expected >= 200 && expected < kCaptured;
            }
        }
    EXPECT_GE(captured, 20);
    EXPECT_GE(late, 3);
}

// The mysterious map takes cosine and sine from one sincosl call, and a view
// centred on the real axis copies each row to its conjugate: both rest on
// sincosl giving the bits of cosl and sinl, cosl being even and sinl odd.
TEST(ColumnKernel, SincosGivesTheBitsOfCosAndSinWithTheirSymmetry)
{
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> wide(-12.0, 12.0);
    std::uniform_real_distribution<double> low(-1.0, 1.0);
    int differing = 0;
    for (int i = 0; i < 100000; ++i) {
        const long double b = i < 16 ? std::ldexp(1.0L, -4 * i) : wide(random) + low(random) * 0x1p-50L;
        long double sine = 0.0L, cosine = 0.0L;
        sincosl(b, &sine, &cosine);
        const bool same = SameBits(sine, std::sin(b)) && SameBits(cosine, std::cos(b)) &&
                          SameBits(std::sin(-b), -std::sin(b)) && SameBits(std::cos(-b), std::cos(b));
        if (!same && ++differing <= 5)
            ADD_FAILURE() << "argument " << b;
    }
    EXPECT_EQ(differing, 0);
}

// --- Interior trap and the z^2 + c pair loop -------------------------------

// Points of the cardioid and of the bulb at -1, some close to their edges.
std::vector<std::pair<long double, long double>> InteriorPoints(std::mt19937_64& random, int count)
{
    std::uniform_real_distribution<double> angle(-3.14159, 3.14159);
    std::uniform_real_distribution<double> depth(0.0, 1.0);
    std::vector<std::pair<long double, long double>> points;
    for (int i = 0; i < count; ++i) {
        const long double t = angle(random);
        // a = s e^{it} / 2 is the fixed point of c = a - a^2; 4(c + 1) = s e^{it} on the bulb.
        const long double s = 1 - std::pow(10.0L, -6 * depth(random));
        if (i % 2 == 0)
            points.push_back({s * std::cos(t) / 2 - s * s * std::cos(2 * t) / 4,
                              s * std::sin(t) / 2 - s * s * std::sin(2 * t) / 4});
        else
            points.push_back({-1 + s * std::cos(t) / 4, s * std::sin(t) / 4});
    }
    return points;
}

// The certified disk is mapped into itself by the rounded step (twice around
// the 2-cycle): from points all round its rim and within it, the step lands
// no farther from the centre than the radius.
TEST(InteriorTrap, TheRoundedStepKeepsEveryPointOfTheDisk)
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> turn(0.0, 6.283185307179586);
    std::uniform_real_distribution<double> share(0.0, 1.0);
    int certified = 0, twoCycles = 0, outside = 0;
    for (const auto& [cx, cy] : InteriorPoints(random, 4000)) {
        const std::optional<TrapDisk> disk = CertifyTrap(cx, cy);
        if (!disk)
            continue;
        ++certified;
        twoCycles += disk->period == 2;
        for (int k = 0; k < 64; ++k) {
            const long double w = k < 32 ? 1 - 0x1p-18L : share(random);
            const long double a = turn(random);
            long double x = disk->centreX + disk->radius * w * std::cos(a);
            long double y = disk->centreY + disk->radius * w * std::sin(a);
            if (!InTrap(*disk, x, y))
                continue;
            for (int step = 0; step < disk->period; ++step)
                formula_steps::Z2::Step(x, y, cx, cy, kNoParams);
            const long double dx = x - disk->centreX, dy = y - disk->centreY;
            outside += !(dx * dx + dy * dy <= disk->radius * disk->radius);
        }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(certified, 3000);
    EXPECT_GT(twoCycles, 1500);
    // Outside both, and on the edge, nothing is certified.
    for (const auto& [cx, cy] : {std::pair{0.2501L, 0.0L}, {-0.75L, 0.0L}, {-1.2501L, 0.0L}, {0.3L, 0.5L}})
        EXPECT_FALSE(CertifyTrap(cx, cy).has_value()) << cx << " + " << cy << "i";
}

bool SameLaneBits(const SquareLane& a, const SquareLane& b, bool withPoint)
{
    return (!withPoint || (SameBits(a.x, b.x) && SameBits(a.y, b.y))) && SameBits(a.markX, b.markX) &&
           SameBits(a.markY, b.markY) && a.markXBits == b.markXBits && a.steps == b.steps &&
           std::memcmp(&a.cyHigh, &b.cyHigh, 5 * sizeof(double)) == 0 && a.hasTrap == b.hasTrap &&
           a.row == b.row && SameBits(a.checkX, b.checkX) && SameBits(a.checkY, b.checkY);
}

// A point for the pair loop, where every way a point ends is taken: escapes
// early and late, cycles, certified disks, the limit.
SquareRow RandomRow(std::mt19937_64& random, long double cx, int row)
{
    static const long double kRows[] = {0.0L, 0.1L, -0.3L, 0.6L, 1.0L, 0.131825904L, 1e-7L, 0.65L};
    std::uniform_real_distribution<double> jitter(-1e-3, 1e-3);
    const long double cy = kRows[random() % 8] + (random() % 2 ? jitter(random) : 0.0);
    SquareRow r;
    r.row = row;
    r.cyHigh = double(cy);
    r.cyLow = double(cy - r.cyHigh);
    if (const std::optional<TrapDisk> disk = CertifyTrap(cx, static_cast<long double>(r.cyHigh) + r.cyLow)) {
        r.hasTrap = 1;
        r.trapX = disk->centreX;
        r.trapY = disk->centreY;
        r.trapRadiusSquared = disk->radiusSquared;
    }
    return r;
}

// A lane at the start of its point, or part way along an orbit.
SquareLane RandomLane(std::mt19937_64& random, long double cx, int row)
{
    SquareLane l;
    TakeUpSquareRow(l, RandomRow(random, cx, row));
    if (random() % 2) {
        std::uniform_real_distribution<double> part(-1.5, 1.5);
        l.x = part(random);
        l.y = part(random);
        l.steps = int(random() % 257);
        l.markX = l.x + (random() % 2 ? 0.0 : 0x1p-40);
        l.markY = l.y;
        const double mark = double(l.markX);
        std::memcpy(&l.markXBits, &mark, sizeof mark);
    }
    return l;
}

// The assembly loop and its C++ twin, from the same lanes and points, store
// the same counts and leave the same lanes, bit for bit; above the limit of
// 256 both lanes run past the tested steps, side by side, or park their
// points at 256 steps, the same points with the same bits.
void ExpectTwinsKeepTheSameBits(int limit, bool park = false)
{
    std::mt19937_64 random(18);
    static const long double kColumns[] = {-0.2L, -1.0L, -0.75L, 0.25L, -1.3L, -1.755L, -0.743643887L, 0.3L, -2.1L};
    constexpr int kPoints = 40;
    int differing = 0, escaped = 0, captured = 0, parked = 0;
    for (int run = 0; run < 200; ++run) {
        SquarePair twin;
        twin.limit = limit;
        twin.cx = kColumns[random() % 9] + (random() % 2 ? 0x1p-30L * int(random() % 1000) : 0.0L);
        std::vector<SquareRow> rows;
        for (int i = 2; i < kPoints; ++i)
            rows.push_back(RandomRow(random, twin.cx, i));
        twin.lane[0] = RandomLane(random, twin.cx, 0);
        twin.lane[1] = RandomLane(random, twin.cx, 1);
        std::vector<EscapeCount> twinCounts(kPoints, 999), assemblyCounts(kPoints, 999);
        SquarePair assembly = twin;
        twin.next = assembly.next = rows.data();
        twin.end = assembly.end = rows.data() + rows.size();
        twin.counts = twinCounts.data();
        assembly.counts = assemblyCounts.data();
        std::vector<SquareLane> twinParked(kPoints), assemblyParked(kPoints);
        if (park) {
            twin.parked = twinParked.data();
            assembly.parked = assemblyParked.data();
        }
        const int drained = RunSquarePair(twin);
        bool sameParked = assembly.parkedCount == twin.parkedCount;
        const bool same = quorvex_run_square_pair(&assembly) == drained && assemblyCounts == twinCounts &&
                          assembly.next == twin.next && assembly.parkedCount == twin.parkedCount &&
                          SameLaneBits(twin.lane[drained], assembly.lane[drained], false) &&
                          SameLaneBits(twin.lane[1 - drained], assembly.lane[1 - drained], true);
        sameParked = same;
        for (int i = 0; sameParked && i < twin.parkedCount; ++i)
            sameParked = SameLaneBits(twinParked[size_t(i)], assemblyParked[size_t(i)], false) &&
                         twinParked[size_t(i)].steps == kFastFrom;
        if (!sameParked && ++differing <= 5)
            ADD_FAILURE() << "run " << run;
        parked += twin.parkedCount;
        for (EscapeCount count : twinCounts) {
            escaped += count < kCaptured;
            captured += count == kCaptured;
        }
    }
    EXPECT_EQ(differing, 0) << "limit " << limit;
    EXPECT_GT(escaped, 1000);
    EXPECT_GT(captured, park ? 500 : 1000);
    EXPECT_EQ(parked > 500, park);
}

TEST(SquarePairLoop, AssemblyAndCppTwinKeepTheSameBits)
{
    ExpectTwinsKeepTheSameBits(kDefaultIterationLimit);
    ExpectTwinsKeepTheSameBits(4096);
    ExpectTwinsKeepTheSameBits(4096, true);
}

// The points of columns at the limit, as the pair parks them at 256 steps.
std::vector<SquareLane> ParkedPoints(std::mt19937_64& random, long double cx, int limit, std::vector<SquareRow>& rows)
{
    SquarePair pair;
    pair.limit = pair.captured = limit;
    pair.cx = cx;
    std::uniform_real_distribution<double> nearAxis(1e-3, 1.1e-2);
    for (int i = 0; i < 120; ++i) {
        rows.push_back(RandomRow(random, cx, i));
        if (i % 2 == 0) {  // by the junctions at -0.75 and -1.25, long escapes
            rows.back().cyHigh = nearAxis(random);
            rows.back().cyLow = 0;
            rows.back().hasTrap = 0;
        }
    }
    std::vector<SquareLane> parked(rows.size());
    std::vector<EscapeCount> counts(rows.size());
    pair.parked = parked.data();
    pair.counts = counts.data();
    pair.next = rows.data() + 2;
    pair.end = rows.data() + rows.size();
    TakeUpSquareRow(pair.lane[0], rows[0]);
    TakeUpSquareRow(pair.lane[1], rows[1]);
    const int drained = RunSquarePair(pair);
    while (FinishSquareLane(pair, 1 - drained)) {
    }
    parked.resize(size_t(pair.parkedCount));
    return parked;
}

// The loop of three lanes and its C++ twin, from the same parked points,
// store the same counts, rerun the same lanes and leave the same two lanes,
// bit for bit; and every way a point leaves the loop is taken.
TEST(SquareTripleLoop, AssemblyAndCppTwinKeepTheSameBits)
{
    std::mt19937_64 random(31);
    static const long double kColumns[] = {-0.2L, -1.0L, -0.75L, 0.25L, -1.25L, -1.755L, -0.743643887L, -0.75L};
    int differing = 0, reruns = 0, captured = 0;
    for (int run = 0; run < 200; ++run) {
        const long double cx = kColumns[random() % 8] + 0x1p-30L * int(random() % 1000);
        const int limit = run % 2 ? 4096 : 1024;
        std::vector<SquareRow> rows;
        std::vector<SquareLane> parked = ParkedPoints(random, cx, limit, rows);
        if (parked.size() < 3)
            continue;
        // Some lanes reach their mark at a checkpoint, 32 steps on, not before.
        for (size_t i = run % 3; i < parked.size(); i += 5) {
            SquareLane ahead;
            TakeUpParked(ahead, parked[i]);
            for (int k = 0; k < kCheckPeriod; ++k)
                square_lane::FastStep(ahead, cx);
            parked[i].markX = ahead.x;
            parked[i].markY = ahead.y;
            parked[i].markXBits = square_lane::DoubleBits(ahead.x);
        }
        SquareTriple twin;
        for (int i = 0; i < 3; ++i)
            TakeUpParked(twin.lane[i], parked[size_t(i)]);
        twin.cx = cx;
        twin.next = parked.data() + 3;
        twin.end = parked.data() + parked.size();
        twin.limit = twin.captured = limit;
        twin.escapeRadiusSquared = 10;
        SquareTriple assembly = twin;
        std::vector<EscapeCount> twinCounts(rows.size(), -1), assemblyCounts(rows.size(), -1);
        std::vector<SquareLane> twinReruns(parked.size()), assemblyReruns(parked.size());
        twin.counts = twinCounts.data();
        assembly.counts = assemblyCounts.data();
        twin.reruns = twinReruns.data();
        assembly.reruns = assemblyReruns.data();
        const int drained = RunSquareTriple(twin);
        bool same = quorvex_run_square_triple(&assembly) == drained && assemblyCounts == twinCounts &&
                    assembly.next == twin.next && assembly.rerunCount == twin.rerunCount;
        for (int i = 0; same && i < twin.rerunCount; ++i)
            same = SameLaneBits(twinReruns[size_t(i)], assemblyReruns[size_t(i)], false);
        for (int i = 1; same && i < 3; ++i)
            same = SameLaneBits(twin.lane[(drained + i) % 3], assembly.lane[(drained + i) % 3], true);
        if (!same && ++differing <= 5)
            ADD_FAILURE() << "run " << run;
        reruns += twin.rerunCount;
        captured += int(std::count(twinCounts.begin(), twinCounts.end(), limit));
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(reruns, 300) << captured;
    EXPECT_GT(captured, 300) << reruns;
}

// z^2 + c from z = 0, one step after the other, with the given bounds.
int PlainSquareCount(long double cx, long double cy, const SquarePair& bounds)
{
    long double x = 0, y = 0;
    for (int j = 0; j < bounds.limit; ++j) {
        formula_steps::Z2::Step(x, y, cx, cy, kNoParams);
        if (x * x + y * y >= bounds.escapeRadiusSquared)
            return j;
    }
    return bounds.captured;
}

// Both loops take the limit, the count of a captured point and the escape
// radius from the pair: with bounds other than the program's, the assembly
// and its twin still store the counts of the plain loop with those bounds.
TEST(SquarePairLoop, BothLoopsTakeTheirBoundsFromThePair)
{
    std::mt19937_64 random(5);
    static const long double kColumns[] = {-0.2L, -1.0L, -0.75L, 0.25L, -1.3L, -0.743643887L, 0.3L};
    constexpr int kPoints = 40;
    for (const auto& [limit, captured, radiusSquared] :
         {std::tuple{64, 1000000, 10.0L}, {4096, 5000000, 10.0L}, {256, kCaptured, 100.0L}}) {
        int wrong = 0, capturedSeen = 0, beyond256 = 0;
        for (int run = 0; run < 40; ++run) {
            SquarePair twin;
            twin.limit = limit;
            twin.captured = captured;
            twin.escapeRadiusSquared = radiusSquared;
            twin.cx = kColumns[random() % 7] + 0x1p-30L * int(random() % 1000);
            std::vector<SquareRow> rows;
            for (int i = 0; i < kPoints; ++i)
                rows.push_back(RandomRow(random, twin.cx, i));
            TakeUpSquareRow(twin.lane[0], rows[0]);
            TakeUpSquareRow(twin.lane[1], rows[1]);
            std::vector<EscapeCount> twinCounts(kPoints, -1), assemblyCounts(kPoints, -1);
            SquarePair assembly = twin;
            twin.next = assembly.next = rows.data() + 2;
            twin.end = assembly.end = rows.data() + rows.size();
            twin.counts = twinCounts.data();
            assembly.counts = assemblyCounts.data();
            const int twinDrained = RunSquarePair(twin);
            while (FinishSquareLane(twin, 1 - twinDrained)) {
            }
            const int drained = quorvex_run_square_pair(&assembly);
            while (FinishSquareLane(assembly, 1 - drained)) {
            }
            for (int i = 0; i < kPoints; ++i) {
                const long double cy = static_cast<long double>(rows[size_t(i)].cyHigh) + rows[size_t(i)].cyLow;
                const int expected = PlainSquareCount(twin.cx, cy, twin);
                wrong += twinCounts[size_t(i)] != expected || assemblyCounts[size_t(i)] != expected;
                capturedSeen += expected == captured;
                beyond256 += expected >= 256 && expected != captured;
            }
        }
        EXPECT_EQ(wrong, 0) << "limit " << limit;
        EXPECT_GT(capturedSeen, 100) << "limit " << limit;
        EXPECT_EQ(beyond256 > 0, limit > 256) << "limit " << limit;
    }
}

// The column of z^2 + c by either loop gives the counts of IteratePoint; at
// a high limit, through three lanes past 256 steps, those of the plain loop
// and the same ends.
TEST(SquarePairLoop, ColumnsByEitherLoopCountAsTheReference)
{
    std::vector<long double> rows(301);
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = -1.2L + 2.4L * i / 300;
    for (long double cx : {-1.76L, -1.0L, -0.75L, -0.2L, 0.25L, 0.2502L, 0.4L})
        for (bool assembly : {false, true}) {
            std::vector<EscapeCount> column(rows.size());
            IterateSquareColumn(cx, rows.data(), int(rows.size()), column.data(), assembly);
            for (size_t i = 0; i < rows.size(); ++i)
                ASSERT_EQ(column[i], IteratePoint(1, cx, rows[i], kNoParams))
                    << (assembly ? "assembly" : "C++") << " at " << cx << " + " << rows[i] << "i";
        }
    for (long double cx : {-0.75L, -0.7500001L, -1.25L, -1.2500001L})
        for (bool assembly : {false, true}) {
            std::vector<long double> near(rows.size());
            for (size_t i = 0; i < rows.size(); ++i)
                near[i] = 1e-3L + 1e-2L * i / 300;
            std::vector<EscapeCount> column(rows.size());
            std::vector<EscapeEnd> ends(rows.size());
            IterateSquareColumn(ColumnRun{cx, near.data(), int(near.size()), 4096, column.data(), ends.data()},
                                assembly);
            int beyond = 0;
            for (size_t i = 0; i < rows.size(); ++i) {
                EscapeEnd end;
                const EscapeCount plain =
                    formula_steps::IteratePlainly<formula_steps::Z2>(cx, near[i], FormulaParams{}, 4096, &end);
                ASSERT_EQ(column[i], plain) << (assembly ? "assembly" : "C++") << " at " << cx << " + " << near[i];
                ASSERT_TRUE(plain == 4096 || ends[i] == end) << cx << " + " << near[i];
                beyond += plain > 300 && plain < 4096;
            }
            EXPECT_GT(beyond, 20) << cx;
        }
}

// The program against the plain loop on small views across the cardioid's
// and the bulb's edges, the cusp, the junction at -0.75, the deep view and
// random views of every type: a share of bench_render --verify.
TEST(ColumnKernel, VerifyViewsCountAsThePlainLoop)
{
    for (const VerifyView& v : MakeVerifyViews(3, true))
        EXPECT_EQ(CountMismatches(v, 32, 24), 0) << v.name << " at " << v.centreX << " + " << v.centreY << "i";
}

}  // namespace
