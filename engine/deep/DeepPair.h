#pragma once
// Two pixels' perturbed steps side by side, the hot loop of the deep
// renderer.
//
// The loop takes only the steps after which the pixel plainly goes on
// stepping: it cannot have escaped, is not nearer 0 than its reference point,
// has not reached the end of its orbit or its limit, and may not start a
// span. Any other step is handed back to the caller, which takes it as the
// one-pixel loop does (DeepPixelOrbit.h): before the step where the pixel
// may escape, after it where it may leave. So every pixel's arithmetic is
// the one-pixel loop's, operation for operation.
//
// The loop exists twice, with the same results bit for bit: in plain C++
// (RunDeepPair, for every formula) and, for z^2 + c, in x87 assembly
// (quorvex_run_deep_pair, DeepPairX87.S), which keeps both differences on
// the x87 stack: the compiler stores and reloads them every step, and an
// 80-bit load or store costs as much as a multiplication. A test holds the
// two to the same bits.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/deep/DeepPairLayout.h"
#include "engine/deep/DeepSteps.h"

// What a pixel at point m of an orbit needs to know before it steps on:
// threshold = max(radius, tinyDifference); radius = the shortest span's from
// m (0 where none starts there).
struct DeepGate {
    long double threshold = 0.0L;
    long double radius = 0.0L;
};

enum DeepLaneReason : int32_t {
    kLaneRunning = DEEP_REASON_RUNNING,
    kLaneMayEscape = DEEP_REASON_MAY_ESCAPE,  // the next step is the caller's
    kLaneMayLeave = DEEP_REASON_MAY_LEAVE,    // the step taken is the caller's to judge
};

// One pixel's difference d from its orbit point *point, and where it stops.
struct alignas(16) DeepLane {
    long double dRe = 0.0L;
    long double dIm = 0.0L;
    long double dcRe = 0.0L;
    long double dcIm = 0.0L;
    const DeepComplex* point = nullptr;  // the orbit's point m
    const DeepGate* gate = nullptr;      // its gate
    const DeepComplex* stop = nullptr;   // the point where the pixel leaves: the orbit's end or the limit
    const DeepComplex* singles = nullptr;  // from this point on spans may start
    int32_t tiny = 0;  // |d| (taxi size) < tinyDifference: the next step is linear
    int32_t reason = kLaneRunning;
};

struct alignas(16) DeepPair {
    DeepLane lane[2];
    // Differences below this have products with themselves that underflow
    // (DeepSteps.h: PerturbedStep).
    long double tinyDifference = kProductsUnderflow;
    // Below this taxi size no z escapes the circle |z|^2 = 10: its square is
    // at most 3.125^2 = 9.77 rounded up by a few units of 2^-64.
    float escapeTaxi = 3.125f;
    // The lane stepped first: the one that did not stop last, so that a lane
    // stopping at every step leaves the other its steps.
    int32_t first = 0;
    // Read by the C++ loop alone: each lane's orbit, and the quartic's slopes on it.
    const DeepComplex* points[2] = {};
    const DeepComplex* slopes[2] = {};
};

static_assert(sizeof(DeepGate) == DEEP_GATE_SIZE && offsetof(DeepGate, threshold) == DEEP_GATE_THRESHOLD &&
              offsetof(DeepGate, radius) == DEEP_GATE_RADIUS && sizeof(DeepComplex) == DEEP_POINT_SIZE);
static_assert(sizeof(DeepLane) == DEEP_LANE_SIZE && offsetof(DeepLane, dRe) == DEEP_LANE_D_RE &&
              offsetof(DeepLane, dIm) == DEEP_LANE_D_IM && offsetof(DeepLane, dcRe) == DEEP_LANE_DC_RE &&
              offsetof(DeepLane, dcIm) == DEEP_LANE_DC_IM && offsetof(DeepLane, point) == DEEP_LANE_POINT &&
              offsetof(DeepLane, gate) == DEEP_LANE_GATE && offsetof(DeepLane, stop) == DEEP_LANE_STOP &&
              offsetof(DeepLane, singles) == DEEP_LANE_SINGLES && offsetof(DeepLane, tiny) == DEEP_LANE_TINY &&
              offsetof(DeepLane, reason) == DEEP_LANE_REASON);
static_assert(offsetof(DeepPair, lane) == 0 && offsetof(DeepPair, tinyDifference) == DEEP_PAIR_TINY_DIFFERENCE &&
              offsetof(DeepPair, escapeTaxi) == DEEP_PAIR_ESCAPE_TAXI && offsetof(DeepPair, first) == DEEP_PAIR_FIRST);

// One step of the lane; false, with its reason set, where the caller takes over.
template <typename Formula>
bool StepDeepLane(DeepPair& pair, int i, const Formula& formula)
{
    DeepLane& l = pair.lane[i];
    const DeepComplex* point = l.point;
    const DeepComplex slope = Formula::kUsesSlopes ? pair.slopes[i][point - pair.points[i]] : DeepComplex{};
    const DeepComplex d0{l.dRe, l.dIm};
    const DeepComplex dc{l.dcRe, l.dcIm};
    const DeepComplex d = l.tiny ? formula.A1(point[0], slope) * d0 + dc : formula.Step(point[0], slope, d0, dc);
    const long double tz = TaxiSize(point[1] + d);
    if (!(tz < pair.escapeTaxi)) {
        l.reason = kLaneMayEscape;
        return false;
    }
    l.dRe = d.re;
    l.dIm = d.im;
    ++l.point;
    ++l.gate;
    const long double td = TaxiSize(d);
    if (!(td + td < tz) || l.point == l.stop) {
        l.reason = kLaneMayLeave;  // it may be nearer 0, or it leaves
        return false;
    }
    if (!(l.gate->threshold > td)) {
        l.tiny = 0;
        return true;
    }
    const bool spansOpen = l.point >= l.singles;
    if (!(pair.tinyDifference > td)) {
        l.tiny = 0;
    } else {
        l.tiny = 1;
        if (!(l.gate->radius > td))
            return true;
    }
    if (spansOpen)
        l.reason = kLaneMayLeave;
    return !spansOpen;
}

// Steps lane `first`, then the other, and again, until one stops: returns
// it, the other left running and to be stepped first next time.
template <typename Formula>
int RunDeepPair(DeepPair& pair, const Formula& formula)
{
    for (int i = pair.first;; i = 1 - i)
        if (!StepDeepLane(pair, i, formula)) {
            pair.lane[1 - i].reason = kLaneRunning;
            pair.first = 1 - i;
            return i;
        }
}

// RunDeepPair for z^2 + c.
extern "C" int quorvex_run_deep_pair(DeepPair* pair);

class BlaTable;

// The gates of an orbit of `points` points: with the table's shortest spans,
// or with none where table is null.
std::vector<DeepGate> DeepGates(const BlaTable* table, size_t points);
