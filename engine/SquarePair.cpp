#include "engine/SquarePair.h"

#include "engine/SquareLaneSteps.h"

namespace {

using kernel_loops::kRunning;
using kernel_loops::kMarkPeriod;
using square_lane::AtMark;
using square_lane::Checkpoint;
using square_lane::InDisk;
using square_lane::RenewMark;

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

// A renewal at fastFrom steps that parked the point.
constexpr int kParked = -3;

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
        Checkpoint(l);
        if (pair.parked)
            return kParked;
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
    if (AtMark(l))
        return pair.captured;
    if (l.steps % kCheckPeriod != 0)
        return kRunning;
    if (l.steps == pair.limit || (l.hasTrap && InDisk(l)))
        return pair.captured;
    RenewMark(l);
    Checkpoint(l);
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
        square_lane::FastStep(l, pair.cx);
        return kRunning;
    }
    if (const int count = TestedStep(l, pair); count != kRunning)
        return count;
    if (AtMark(l))
        return pair.captured;
    return kRunning;
}

// Stores the count, or parks the point, and takes up the next point: false
// when none is left.
bool Replace(SquarePair& pair, SquareLane& l, int count)
{
    if (count == kParked)
        pair.parked[pair.parkedCount++] = l;
    else
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

void RerunSquareLane(const SquarePair& pair, SquareLane lane)
{
    int count = RollBack(lane, pair);
    if (count == kRolledBack)
        while ((count = StepLane(lane, pair)) == kRunning) {
        }
    pair.counts[lane.row] = count;
}
