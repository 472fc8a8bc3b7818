#pragma once
// The loops that step the points of a column: one after the other, or two
// side by side, each orbit compared with an earlier point of its own so that
// one that comes back is captured at once. The formulas' kernels are made of
// them (FormulaKernels.*, FormulaTable.cpp).

#include <cstring>

#include "engine/Iteration.h"

namespace kernel_loops {

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

inline constexpr int kRunning = -1;
// Steps between two renewals of the earlier point an orbit is compared with.
inline constexpr int kMarkPeriod = 8;
static_assert(kIterationLimit % kMarkPeriod == 0, "the limit is tested where the mark is renewed");

inline bool SameBits(long double a, long double b)
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

// The row kernels of a map whose step needs only x and y, for the table.
template <typename Formula>
void SingleRows(const Iteration& what, long double cx, const long double* cy, int rows, EscapeCount* counts)
{
    RunSingly<PlainOrbit<Formula>>(cx, cy, rows, what.params, counts);
}

template <typename Formula>
void PairedRows(const Iteration& what, long double cx, const long double* cy, int rows, EscapeCount* counts)
{
    PairedRun<PlainOrbit<Formula>>(cx, cy, rows, what.params, counts).Run();
}

}  // namespace kernel_loops
