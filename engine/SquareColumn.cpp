#include "engine/SquareColumn.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "engine/FormulaSteps.h"
#include "engine/InteriorTrap.h"
#include "engine/SquarePair.h"
#include "engine/SquareTriple.h"

namespace {

// Runs the lanes the pair holds, both or lane 0 alone (or none), to the end
// of the points left.
void RunPairLanes(SquarePair& pair, int lanes, bool assembly)
{
    if (lanes == 1)
        while (FinishSquareLane(pair, 0)) {
        }
    if (lanes < 2)
        return;
    const int drained = assembly ? quorvex_run_square_pair(&pair) : RunSquarePair(pair);
    while (FinishSquareLane(pair, 1 - drained)) {
    }
}

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
        if (!kernel_loops::SameBits(static_cast<long double>(r.cyHigh) + r.cyLow, cy)) {
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
    thread_local std::vector<SquareLane> parked;
    if (pair.fastFrom != kNeverFast && SquareTripleTakes(pair)) {
        parked.resize(todo.size());
        pair.parked = parked.data();
    }
    const int lanes = int(std::min<size_t>(todo.size(), 2));
    for (int lane = 0; lane < lanes; ++lane)
        TakeUpSquareRow(pair.lane[lane], *pair.next++);
    RunPairLanes(pair, lanes, assembly);
    if (pair.parkedCount == 0)
        return;
    const int left = RunParkedPoints(pair, pair.parked, pair.parkedCount, pair.lane, assembly);
    pair.parked = nullptr;
    RunPairLanes(pair, left, assembly);
}

void IterateSquareColumn(long double cx, const long double* cy, int rows, EscapeCount* counts, bool assembly)
{
    IterateSquareColumn(ColumnRun{cx, cy, rows, kDefaultIterationLimit, counts, nullptr}, assembly);
}
