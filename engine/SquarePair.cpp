#include "engine/SquarePair.h"

#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "engine/FormulaSteps.h"
#include "engine/InteriorTrap.h"

namespace {

using kernel_loops::kRunning;
using kernel_loops::kMarkPeriod;

uint64_t DoubleBits(long double value)
{
    const double rounded = double(value);
    uint64_t bits;
    std::memcpy(&bits, &rounded, sizeof bits);
    return bits;
}

bool InDisk(const SquareLane& l)
{
    TrapDisk disk;
    disk.centreX = l.trapX;
    disk.centreY = l.trapY;
    disk.radiusSquared = l.trapRadiusSquared;
    return InTrap(disk, l.x, l.y);
}

// The count of a point whose z_s escaped with |z_s|^2 = r, and its end.
int Escaped(const SquareLane& l, const SquarePair& pair, long double r)
{
    if (pair.ends)
        pair.ends[l.row] = EscapeEnd{l.before, float(r)};
    return l.steps - 1;
}

// A renewal that did not end the point: goes back to the checkpoint and
// takes the steps again with the test; the lane's own turn is over.
constexpr int kRolledBack = -2;

void RenewMark(SquareLane& l)
{
    if (kernel_loops::RenewsMark(l.steps)) {
        l.markXBits = DoubleBits(l.x);
        l.markX = l.x;
        l.markY = l.y;
    }
}

// At a multiple of 8 steps up to fastFrom: the count, or kRunning.
int Renew(SquareLane& l, const SquarePair& pair)
{
    if (l.steps == pair.limit) {
        const long double r = l.x * l.x + l.y * l.y;
        return r >= pair.escapeRadiusSquared ? Escaped(l, pair, r) : pair.captured;
    }
    if (l.hasTrap && InDisk(l))
        return pair.captured;
    RenewMark(l);
    if (l.steps == pair.fastFrom) {
        l.checkX = l.x;
        l.checkY = l.y;
    }
    return kRunning;
}

// One step with the escape test: kRunning, or the count of the point.
int TestedStep(SquareLane& l, const SquarePair& pair)
{
    const long double x = l.x;
    const long double y = l.y;
    const long double xx = x * x;
    const long double yy = y * y;
    const long double r = xx + yy;
    if (r >= pair.escapeRadiusSquared)
        return Escaped(l, pair, r);
    l.before = float(r);
    l.x = (xx - yy) + pair.cx;
    l.y = (x + x) * y + (static_cast<long double>(l.cyHigh) + l.cyLow);
    ++l.steps;
    return kRunning;
}

// The steps from the checkpoint again, each tested, up to z_s: the count of
// the point, which escaped among them; kRolledBack should it not.
int RollBack(SquareLane& l, const SquarePair& pair)
{
    const int end = l.steps;
    l.x = l.checkX;
    l.y = l.checkY;
    l.steps = (end - 1) & ~(kCheckPeriod - 1);
    for (int k = end - l.steps; k >= 0; --k)
        if (const int count = TestedStep(l, pair); count != kRunning)
            return count;
    return kRolledBack;
}

// At a multiple of 8 steps past fastFrom: the count, kRunning, or
// kRolledBack. The limit, the disk and the mark wait for a checkpoint, a
// multiple of kCheckPeriod, as the limit is.
int RenewFast(SquareLane& l, const SquarePair& pair)
{
    if (!(l.x * l.x + l.y * l.y < pair.escapeRadiusSquared))
        return RollBack(l, pair);
    if (DoubleBits(l.x) == l.markXBits && l.x == l.markX && l.y == l.markY)
        return pair.captured;
    if (l.steps % kCheckPeriod != 0)
        return kRunning;
    if (l.steps == pair.limit || (l.hasTrap && InDisk(l)))
        return pair.captured;
    RenewMark(l);
    l.checkX = l.x;
    l.checkY = l.y;
    return kRunning;
}

// One step of the lane: kRunning, or the count of its point. A point equal in
// value to the mark repeats it up to the signs of zeros: the same magnitudes
// for ever, never an escape.
int StepLane(SquareLane& l, const SquarePair& pair)
{
    const bool fast = l.steps > pair.fastFrom;
    if (l.steps % (fast ? kFastPeriod : kMarkPeriod) == 0) {
        const int count = fast ? RenewFast(l, pair) : Renew(l, pair);
        if (count == kRolledBack)
            return kRunning;
        if (count != kRunning)
            return count;
    }
    if (fast) {
        const long double x = l.x;
        const long double y = l.y;
        const long double xx = x * x;
        const long double yy = y * y;
        l.x = (xx - yy) + pair.cx;
        l.y = (x + x) * y + (static_cast<long double>(l.cyHigh) + l.cyLow);
        ++l.steps;
        return kRunning;
    }
    if (const int count = TestedStep(l, pair); count != kRunning)
        return count;
    if (DoubleBits(l.x) == l.markXBits && l.x == l.markX && l.y == l.markY)
        return pair.captured;
    return kRunning;
}

// Stores the count and takes up the next point: false when none is left.
bool Replace(SquarePair& pair, SquareLane& l, int count)
{
    pair.counts[l.row] = count;
    if (pair.next == pair.end)
        return false;
    TakeUpSquareRow(l, *pair.next++);
    return true;
}

// One step of the lane, and the steps a new point takes at once in its place.
bool AdvanceLane(SquarePair& pair, int lane)
{
    SquareLane& l = pair.lane[lane];
    for (int count; (count = StepLane(l, pair)) != kRunning;)
        if (!Replace(pair, l, count))
            return false;
    return true;
}

bool SameBits(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

// Whether the disk of a point of the main cardioid or of the bulb at -1 may
// be certified; the certificate itself decides.
bool MayHaveDisk(long double cx, long double cy)
{
    const long double fromQuarter = (cx + 0.25L) * (cx + 0.25L) + cy * cy;
    const long double fromMinusOne = (cx + 1) * (cx + 1) + cy * cy;
    return fromQuarter <= 0.51L || fromMinusOne <= 0.0626L;
}

// The points of the column that need steps. A point whose disk holds z_0 = 0
// is captured at once; one whose cy does not split into two doubles exactly
// is iterated on its own.
std::vector<SquareRow> RowsToStep(const ColumnRun& run, bool& withinTwo)
{
    withinTwo = std::fabs(run.cx) <= 2;
    std::vector<SquareRow> todo;
    todo.reserve(size_t(run.rows));
    for (int row = 0; row < run.rows; ++row) {
        const long double cy = run.cy[row];
        withinTwo = withinTwo && std::fabs(cy) <= 2;
        SquareRow r;
        r.row = row;
        r.cyHigh = double(cy);
        r.cyLow = double(cy - r.cyHigh);
        if (!SameBits(static_cast<long double>(r.cyHigh) + r.cyLow, cy)) {
            run.counts[row] = formula_steps::IteratePlainly<formula_steps::Z2>(
                run.cx, cy, FormulaParams{}, run.limit, run.ends ? &run.ends[row] : nullptr);
            continue;
        }
        if (MayHaveDisk(run.cx, cy))
            if (const std::optional<TrapDisk> disk = CertifyTrap(run.cx, cy)) {
                if (InTrap(*disk, 0, 0)) {
                    run.counts[row] = run.limit;
                    continue;
                }
                r.hasTrap = 1;
                r.trapX = disk->centreX;
                r.trapY = disk->centreY;
                r.trapRadiusSquared = disk->radiusSquared;
            }
        todo.push_back(r);
    }
    return todo;
}

}  // namespace

void TakeUpSquareRow(SquareLane& lane, const SquareRow& row)
{
    lane.x = 0;
    lane.y = 0;
    lane.steps = 0;
    lane.cyHigh = row.cyHigh;
    lane.cyLow = row.cyLow;
    lane.trapX = row.trapX;
    lane.trapY = row.trapY;
    lane.trapRadiusSquared = row.trapRadiusSquared;
    lane.hasTrap = row.hasTrap;
    lane.row = row.row;
}

int RunSquarePair(SquarePair& pair)
{
    for (;;) {
        if (!AdvanceLane(pair, 0))
            return 0;
        if (!AdvanceLane(pair, 1))
            return 1;
    }
}

bool FinishSquareLane(SquarePair& pair, int lane)
{
    SquareLane& l = pair.lane[lane];
    int count;
    while ((count = StepLane(l, pair)) == kRunning) {
    }
    return Replace(pair, l, count);
}

void IterateSquareColumn(const ColumnRun& run, bool assembly)
{
    bool withinTwo = false;
    const std::vector<SquareRow> todo = RowsToStep(run, withinTwo);
    SquarePair pair;
    pair.fastFrom = withinTwo && run.limit % kCheckPeriod == 0 ? kFastFrom : kNeverFast;
    pair.cx = run.cx;
    pair.next = todo.data();
    pair.end = todo.data() + todo.size();
    pair.counts = run.counts;
    pair.limit = run.limit;
    pair.captured = run.limit;
    pair.ends = run.ends;
    if (todo.size() < 2) {
        if (!todo.empty()) {
            TakeUpSquareRow(pair.lane[0], *pair.next++);
            FinishSquareLane(pair, 0);
        }
        return;
    }
    TakeUpSquareRow(pair.lane[0], *pair.next++);
    TakeUpSquareRow(pair.lane[1], *pair.next++);
    const int drained = assembly ? quorvex_run_square_pair(&pair) : RunSquarePair(pair);
    while (FinishSquareLane(pair, 1 - drained)) {
    }
}

void IterateSquareColumn(long double cx, const long double* cy, int rows, EscapeCount* counts, bool assembly)
{
    IterateSquareColumn(ColumnRun{cx, cy, rows, kDefaultIterationLimit, counts, nullptr}, assembly);
}
