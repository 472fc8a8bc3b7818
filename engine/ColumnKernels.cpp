#include "engine/ColumnKernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/FormulaSteps.h"
#include "engine/SquarePair.h"

namespace {

using namespace formula_steps;

// The orbit of a map whose step needs only x and y.
template <typename Formula>
struct PlainOrbit {
    long double x = 0.0L;
    long double y = 0.0L;

    bool StepEscapes(long double cx, long double cy, const FormulaParams& params)
    {
        Formula::Step(x, y, cx, cy, params);
        return x * x + y * y >= kEscapeRadiusSquared;
    }
};

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

constexpr int kRunning = -1;
// Steps between two renewals of the earlier point an orbit is compared with.
constexpr int kMarkPeriod = 8;
static_assert(kIterationLimit % kMarkPeriod == 0, "the limit is tested where the mark is renewed");

bool SameBits(long double a, long double b)
{
    return std::memcmp(&a, &b, 10) == 0;  // ten bytes: sign, exponent and mantissa
}

// One point of the column on its way. An orbit that comes back to a point it
// has passed, bit for bit, repeats itself from there and never escapes.
template <typename Orbit>
struct Lane {
    Orbit z;
    long double cy = 0.0L;
    long double markX = 0.0L;  // z0 = 0 until the first renewal
    long double markY = 0.0L;
    int steps = 0;
    int row = -1;

    // One step: kRunning, or the count of the point.
    int Advance(long double cx, const FormulaParams& params)
    {
        if (z.StepEscapes(cx, cy, params)) [[unlikely]]
            return steps;
        ++steps;
        if (z.x == markX) [[unlikely]] {
            if (z.y == markY && SameBits(z.x, markX) && SameBits(z.y, markY))
                return kCaptured;
        }
        if (steps % kMarkPeriod == 0) [[unlikely]] {
            if (steps == kIterationLimit)
                return kCaptured;
            markX = z.x;
            markY = z.y;
        }
        return kRunning;
    }
};

// Points of the column one after the other: for the rational map, whose
// divisions keep the processor busy, and the map whose step calls the
// library, where a second point in flight gains nothing.
template <typename Orbit>
void RunSingly(long double cx, const long double* cy, int rows, const FormulaParams& params, EscapeCount* counts)
{
    for (int row = 0; row < rows; ++row) {
        Lane<Orbit> lane;
        lane.cy = cy[row];
        int result;
        while ((result = lane.Advance(cx, params)) == kRunning) {
        }
        counts[row] = result;
    }
}

// Two points of the column stepped side by side, so that the processor works
// on one while the other waits for its last result. A lane whose point is
// done takes up the next row where it stands.
template <typename Orbit>
class PairedRun {
public:
    PairedRun(long double cx, const long double* cy, int rows, const FormulaParams& params, EscapeCount* counts,
              const Orbit& start = Orbit{})
        : cx_(cx), cy_(cy), rows_(rows), params_(params), counts_(counts), start_(start)
    {
    }

    void Run()
    {
        Lane<Orbit> a, b;
        if (!TakeUp(a))
            return;
        if (!TakeUp(b))
            return RunAlone(a, kRunning);
        for (;;) {
            const int ra = a.Advance(cx_, params_);
            const int rb = b.Advance(cx_, params_);
            if (ra != kRunning) [[unlikely]] {
                if (!Replace(a, ra))
                    return RunAlone(b, rb);
            }
            if (rb != kRunning) [[unlikely]] {
                if (!Replace(b, rb))
                    return RunAlone(a, kRunning);
            }
        }
    }

private:
    // Puts the next row into the lane: false when none is left.
    bool TakeUp(Lane<Orbit>& lane)
    {
        if (next_ == rows_)
            return false;
        lane.z = start_;
        lane.cy = cy_[next_];
        lane.markX = lane.markY = 0.0L;
        lane.steps = 0;
        lane.row = next_++;
        return true;
    }

    bool Replace(Lane<Orbit>& lane, int result)
    {
        counts_[lane.row] = result;
        return TakeUp(lane);
    }

    void RunAlone(Lane<Orbit>& lane, int result)
    {
        while (result == kRunning)
            result = lane.Advance(cx_, params_);
        counts_[lane.row] = result;
    }

    long double cx_;
    const long double* cy_;
    int rows_;
    const FormulaParams& params_;
    EscapeCount* counts_;
    const Orbit start_;
    int next_ = 0;
};

// The first row whose point is the conjugate of an earlier row's: from there
// on row i mirrors row rows - i, as on every view centred on the real axis.
int FirstMirroredRow(const long double* cy, int rows)
{
    const int half = rows / 2 + 1;
    for (int row = half; row < rows; ++row)
        if (!SameBits(cy[row], -cy[rows - row]))
            return rows;
    return half;
}

// Conjugate points have conjugate orbits, step for step and bit for bit, when
// every coefficient the map uses is real: the same count. (Signs of zeros may
// differ, and change no magnitude.)
bool ConjugatesShareCounts(int type, const FormulaParams& p)
{
    switch (type) {
    case 4: return p.Gz.im == 0 && p.It.im == 0 && p.Rm.im == 0 && p.Mu.im == 0;
    case 5: return p.Gz.im == 0 && p.It.im == 0;
    default: return true;
    }
}

void IteratePolynomialRows(long double cx, const long double* cy, int rows, const FormulaParams& params,
                           EscapeCount* counts)
{
    if (RealZ4Poly::Applies(params))
        return PairedRun<PlainOrbit<RealZ4Poly>>(cx, cy, rows, params, counts).Run();
    if (!SparseZ4Poly::Applies(params))
        return PairedRun<PlainOrbit<Z4Poly>>(cx, cy, rows, params, counts).Run();
    const SparseZ4Poly map(params);
    SparsePolynomialOrbit start;
    start.map = &map;
    PairedRun<SparsePolynomialOrbit>(cx, cy, rows, params, counts, start).Run();
}

void IterateRows(int type, long double cx, const long double* cy, int rows, const FormulaParams& params,
                 EscapeCount* counts)
{
    switch (type) {
    case 1: return IterateSquareColumn(cx, cy, rows, counts);
    case 2: return PairedRun<PlainOrbit<Z3>>(cx, cy, rows, params, counts).Run();
    case 3: return PairedRun<PlainOrbit<Z4>>(cx, cy, rows, params, counts).Run();
    case 4: return IteratePolynomialRows(cx, cy, rows, params, counts);
    case 5:
        if (RealZRatio::Applies(params))
            return RunSingly<PlainOrbit<RealZRatio>>(cx, cy, rows, params, counts);
        return RunSingly<PlainOrbit<ZRatio>>(cx, cy, rows, params, counts);
    case 6: return RunSingly<ExpOrbit>(cx, cy, rows, params, counts);
    default: std::fill(counts, counts + rows, EscapeCount(kCaptured));
    }
}

}  // namespace

void IterateColumn(int type, long double cx, const long double* cy, int rows, const FormulaParams& params,
                   EscapeCount* counts)
{
    const int own = ConjugatesShareCounts(type, params) ? FirstMirroredRow(cy, rows) : rows;
    IterateRows(type, cx, cy, own, params, counts);
    for (int row = own; row < rows; ++row)
        counts[row] = counts[rows - row];
}
