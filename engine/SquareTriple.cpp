#include "engine/SquareTriple.h"

#include <vector>

#include "engine/SquareLaneSteps.h"

namespace {

using kernel_loops::kRunning;
using square_lane::AtMark;

constexpr int kRerun = -2;

// |double(v)| < 4, through its bits as the assembly compares them; false for
// NaN.
bool Near(long double v)
{
    constexpr uint64_t kFourBits = 0x4010000000000000;
    return (square_lane::DoubleBits(v) << 1) < (kFourBits << 1);
}

// The renewal after a block: kRunning, kRerun, or the count of the point.
int Renew(SquareLane& l, const SquareTriple& t)
{
    if (l.steps % kCheckPeriod != 0) {
        if (!Near(l.x) || !Near(l.y))
            return kRerun;
        return AtMark(l) ? t.captured : kRunning;
    }
    if (!(l.x * l.x + l.y * l.y < t.escapeRadiusSquared))
        return kRerun;
    if (AtMark(l) || l.steps == t.limit || (l.hasTrap && square_lane::InDisk(l)))
        return t.captured;
    square_lane::RenewMark(l);
    square_lane::Checkpoint(l);
    return kRunning;
}

}  // namespace

bool SquareTripleTakes(const SquarePair& pair)
{
    return static_cast<long double>(double(pair.escapeRadiusSquared)) == pair.escapeRadiusSquared;
}

void TakeUpParked(SquareLane& lane, const SquareLane& parked)
{
    lane = parked;
    lane.x = parked.checkX;
    lane.y = parked.checkY;
}

int RunSquareTriple(SquareTriple& t)
{
    for (;;) {
        for (int k = 0; k < kFastPeriod; ++k)
            for (SquareLane& l : t.lane)
                square_lane::FastStep(l, t.cx);
        for (int i = 0; i < 3; ++i) {
            SquareLane& l = t.lane[i];
            const int count = Renew(l, t);
            if (count == kRunning)
                continue;
            if (count == kRerun)
                t.reruns[t.rerunCount++] = l;
            else
                t.counts[l.row] = count;
            if (t.next == t.end)
                return i;
            TakeUpParked(l, *t.next++);
        }
    }
}

int RunParkedPoints(const SquarePair& pair, const SquareLane* parked, int count, SquareLane* left, bool assembly)
{
    if (count < 3) {
        for (int i = 0; i < count; ++i)
            TakeUpParked(left[i], parked[i]);
        return count;
    }
    thread_local std::vector<SquareLane> reruns;
    reruns.resize(size_t(count));
    SquareTriple t;
    for (int i = 0; i < 3; ++i)
        TakeUpParked(t.lane[i], parked[i]);
    t.cx = pair.cx;
    t.next = parked + 3;
    t.end = parked + count;
    t.counts = pair.counts;
    t.reruns = reruns.data();
    t.limit = pair.limit;
    t.captured = pair.captured;
    t.escapeRadiusSquared = double(pair.escapeRadiusSquared);
    const int drained = assembly ? quorvex_run_square_triple(&t) : RunSquareTriple(t);
    for (int i = 0; i < t.rerunCount; ++i)
        RerunSquareLane(pair, t.reruns[i]);
    // A lane before the drained one has been renewed at its steps, which
    // the pair would do again (and find z at its new mark): it takes the
    // steps of its block first.
    for (int i = 0; i < 2; ++i) {
        const int lane = (drained + 1 + i) % 3;
        left[i] = t.lane[lane];
        for (int k = 0; lane < drained && k < kFastPeriod; ++k)
            square_lane::FastStep(left[i], t.cx);
    }
    return 2;
}
