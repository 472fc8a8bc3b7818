#include "engine/SquarePair.h"

#include <cstring>
#include <optional>
#include <vector>

#include "engine/FormulaSteps.h"
#include "engine/InteriorTrap.h"

namespace {

constexpr int kRunning = -1;
// Steps between two renewals of the mark; the limit falls on a renewal.
constexpr int kMarkPeriod = 8;

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

// At a multiple of 8 steps: the count, or kRunning with z_s the new mark.
int Renew(SquareLane& l, const SquarePair& pair)
{
    if (l.x * l.x + l.y * l.y >= pair.escapeRadiusSquared)
        return l.steps - 1;
    if (l.steps == pair.limit || (l.hasTrap && InDisk(l)))
        return pair.captured;
    l.markXBits = DoubleBits(l.x);
    l.markX = l.x;
    l.markY = l.y;
    return kRunning;
}

// One step of the lane: kRunning, or the count of its point. A point equal in
// value to the mark repeats it up to the signs of zeros: the same magnitudes
// for ever, never an escape.
int StepLane(SquareLane& l, const SquarePair& pair)
{
    if (l.steps % kMarkPeriod == 0)
        if (const int count = Renew(l, pair); count != kRunning)
            return count;
    const long double x = l.x;
    const long double y = l.y;
    const long double xx = x * x;
    const long double yy = y * y;
    if (xx + yy >= pair.escapeRadiusSquared)
        return l.steps - 1;
    l.x = (xx - yy) + pair.cx;
    l.y = (x + x) * y + (static_cast<long double>(l.cyHigh) + l.cyLow);
    ++l.steps;
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
std::vector<SquareRow> RowsToStep(long double cx, const long double* cy, int rows, EscapeCount* counts)
{
    std::vector<SquareRow> todo;
    todo.reserve(size_t(rows));
    for (int row = 0; row < rows; ++row) {
        SquareRow r;
        r.row = row;
        r.cyHigh = double(cy[row]);
        r.cyLow = double(cy[row] - r.cyHigh);
        if (!SameBits(static_cast<long double>(r.cyHigh) + r.cyLow, cy[row])) {
            counts[row] = formula_steps::IteratePlainly<formula_steps::Z2>(cx, cy[row], FormulaParams{});
            continue;
        }
        if (MayHaveDisk(cx, cy[row]))
            if (const std::optional<TrapDisk> disk = CertifyTrap(cx, cy[row])) {
                if (InTrap(*disk, 0, 0)) {
                    counts[row] = kCaptured;
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

void IterateSquareColumn(long double cx, const long double* cy, int rows, EscapeCount* counts, bool assembly)
{
    const std::vector<SquareRow> todo = RowsToStep(cx, cy, rows, counts);
    SquarePair pair;
    pair.cx = cx;
    pair.next = todo.data();
    pair.end = todo.data() + todo.size();
    pair.counts = counts;
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
