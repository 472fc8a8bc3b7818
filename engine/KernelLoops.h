#pragma once
// The loops that step the points of a column: one after the other, or two
// side by side, each orbit compared with an earlier point of its own so that
// one that comes back is captured at once. The formulas' kernels are made of
// them (FormulaKernels.*, FormulaTable.cpp).

#include <algorithm>
#include <bit>
#include <cstring>

#include "engine/Iteration.h"

namespace kernel_loops {

// The orbit of a map whose step needs only x and y. A step returns |z|^2
// of the new point.
template <typename Formula>
struct PlainOrbit {
    long double x = 0.0L;
    long double y = 0.0L;

    void StartAt(long double x0, long double y0)
    {
        x = x0;
        y = y0;
    }
    long double Step(long double cx, long double cy, const FormulaParams& params)
    {
        Formula::Step(x, y, cx, cy, params);
        return x * x + y * y;
    }
};

inline constexpr int kRunning = -1;
// The mark an orbit is compared with is renewed only where the step count s
// is a multiple of MarkInterval(s): every 8 steps up to 256, then 16 times
// an octave, so that the stretch compared with one mark grows with the
// orbit (more than s / 32 steps) and a cycle of any length is caught soon
// after the orbit has settled on it. Where the limit is tested, every
// kLimitStep steps, is the only place a mark may be renewed.
inline constexpr int kMarkPeriod = kLimitStep;
inline constexpr int kMarkOctaveShift = 4;
constexpr int MarkInterval(int steps)
{
    const int octave = steps > 0 ? int(std::bit_floor(unsigned(steps))) : 0;
    return std::max(kMarkPeriod, octave >> kMarkOctaveShift);
}
// The interval is a power of two: a mask, not a division, in the loops.
constexpr bool RenewsMark(int steps) { return (steps & (MarkInterval(steps) - 1)) == 0; }
static_assert(RenewsMark(8) && RenewsMark(248) && RenewsMark(256) && !RenewsMark(264) && RenewsMark(272) &&
              !RenewsMark(4096 + 128) && RenewsMark(4096 + 256));
static_assert(std::has_single_bit(unsigned(MarkInterval(8))) && std::has_single_bit(unsigned(MarkInterval(300))) &&
              std::has_single_bit(unsigned(MarkInterval(1 << 20))));

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
    float before = 0;  // |z|^2 of the point before the last step
    float after = 0;   // of the point that escaped
    int steps = 0;
    int row = -1;

    // One step: kRunning, or the count of the point (the limit if captured).
    int Advance(long double cx, const FormulaParams& params, int limit)
    {
        const long double r = z.Step(cx, cy, params);
        if (r >= kEscapeRadiusSquared) [[unlikely]] {
            after = float(r);
            return steps;
        }
        before = float(r);
        ++steps;
        if (z.x == markX) [[unlikely]] {
            if (z.y == markY && SameBits(z.x, markX) && SameBits(z.y, markY))
                return limit;
        }
        if (steps % kMarkPeriod == 0) [[unlikely]] {
            if (steps == limit)
                return limit;
            if (RenewsMark(steps)) {
                markX = z.x;
                markY = z.y;
            }
        }
        return kRunning;
    }

    // Where the point's count goes, and its end if it escaped.
    void Store(int result, const ColumnRun& run) const
    {
        run.counts[row] = result;
        if (run.ends && result < run.limit)
            run.ends[row] = EscapeEnd{before, after};
    }
};


// Where a lane's orbit starts and which c it adds. On the formula's own
// plane the orbit starts at z0 = 0 (the start orbit as given) and adds the
// row's point.
struct PlaneStart {
    long double Cx(const ColumnRun& run) const { return run.cx; }

    template <typename Orbit>
    void Begin(Lane<Orbit>& lane, const Orbit& start, const ColumnRun& run, int row) const
    {
        lane.z = start;
        lane.cy = run.cy[row];
        lane.markX = lane.markY = 0.0L;
        lane.before = 0;  // |z0|^2: a lane taken up again forgets the last orbit's
        lane.steps = 0;
        lane.row = row;
    }
};

// A Julia set: the orbit starts at the row's point, which is also its first
// mark, and adds the fixed c.
struct JuliaStart {
    long double cRe = 0.0L;
    long double cIm = 0.0L;

    long double Cx(const ColumnRun&) const { return cRe; }

    template <typename Orbit>
    void Begin(Lane<Orbit>& lane, const Orbit& start, const ColumnRun& run, int row) const
    {
        const long double x0 = run.cx;
        const long double y0 = run.cy[row];
        lane.z = start;
        lane.z.StartAt(x0, y0);
        lane.cy = cIm;
        lane.markX = x0;
        lane.markY = y0;
        lane.before = float(x0 * x0 + y0 * y0);
        lane.steps = 0;
        lane.row = row;
    }
};

// Points of the column one after the other: for the rational map, whose
// divisions keep the processor busy, and the map whose step calls the
// library, where a second point in flight gains nothing.
template <typename Orbit, typename Start = PlaneStart>
void RunSingly(const ColumnRun& run, const FormulaParams& params, const Orbit& start = Orbit{},
               const Start& from = Start{})
{
    const long double cx = from.Cx(run);
    for (int row = 0; row < run.rows; ++row) {
        Lane<Orbit> lane;
        from.Begin(lane, start, run, row);
        int result;
        while ((result = lane.Advance(cx, params, run.limit)) == kRunning) {
        }
        lane.Store(result, run);
    }
}

// Two points of the column stepped side by side, so that the processor works
// on one while the other waits for its last result. A lane whose point is
// done takes up the next row where it stands.
template <typename Orbit, typename Start = PlaneStart>
class PairedRun {
public:
    PairedRun(const ColumnRun& run, const FormulaParams& params, const Orbit& start = Orbit{},
              const Start& from = Start{})
        : run_(run), params_(params), start_(start), from_(from), cx_(from.Cx(run))
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
            const int ra = a.Advance(cx_, params_, run_.limit);
            const int rb = b.Advance(cx_, params_, run_.limit);
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
        if (next_ == run_.rows)
            return false;
        from_.Begin(lane, start_, run_, next_++);
        return true;
    }

    bool Replace(Lane<Orbit>& lane, int result)
    {
        lane.Store(result, run_);
        return TakeUp(lane);
    }

    void RunAlone(Lane<Orbit>& lane, int result)
    {
        while (result == kRunning)
            result = lane.Advance(cx_, params_, run_.limit);
        lane.Store(result, run_);
    }

    const ColumnRun run_;
    const FormulaParams& params_;
    const Orbit start_;
    const Start from_;
    const long double cx_;
    int next_ = 0;
};

// The row kernels of a map whose step needs only x and y, for the table.
template <typename Formula>
void SingleRows(const Iteration& what, const ColumnRun& run)
{
    RunSingly<PlainOrbit<Formula>>(run, what.params);
}

template <typename Formula>
void PairedRows(const Iteration& what, const ColumnRun& run)
{
    PairedRun<PlainOrbit<Formula>>(run, what.params).Run();
}

// The same for the Julia set of what.julia.
inline JuliaStart JuliaStartOf(const Iteration& what) { return JuliaStart{what.julia.re, what.julia.im}; }

// Julia orbits run one after the other: most leave within a few steps, and
// a second lane costs more in taking up rows than it gains (measured for
// z^2 + c, z^3 + c, z^4 + c and the polynomial).
template <typename Formula>
void JuliaSingleRows(const Iteration& what, const ColumnRun& run)
{
    RunSingly<PlainOrbit<Formula>, JuliaStart>(run, what.params, {}, JuliaStartOf(what));
}

// The rows of an orbit type from either start: two lanes on the plane, one
// for a Julia set.
template <typename Orbit>
void RunRows(const ColumnRun& run, const FormulaParams& params, const Orbit& start, const PlaneStart& from)
{
    PairedRun<Orbit>(run, params, start, from).Run();
}

template <typename Orbit>
void RunRows(const ColumnRun& run, const FormulaParams& params, const Orbit& start, const JuliaStart& from)
{
    RunSingly<Orbit, JuliaStart>(run, params, start, from);
}

}  // namespace kernel_loops
