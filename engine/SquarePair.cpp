#include "SquarePair.h"

#include <cstring>

#include "Formulas.h"
#include "FormulaSteps.h"
#include "InteriorTrap.h"

namespace {

using formula_steps::kEscapeRadiusSquared;

// Steps between two renewals of the mark; the limit falls on a renewal.
constexpr int kMarkPeriod = 8;
static_assert(kIterationLimit % kMarkPeriod == 0);

int Code(SquareEvent event, int lane) { return 2 * event + lane; }

uint64_t DoubleBits(long double value)
{
    const double rounded = double(value);
    uint64_t bits;
    std::memcpy(&bits, &rounded, sizeof bits);
    return bits;
}

bool SameBits(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

TrapDisk DiskOf(const SquareLane& l)
{
    TrapDisk disk;
    disk.centreX = l.trapX;
    disk.centreY = l.trapY;
    disk.radiusSquared = l.trapRadiusSquared;
    return disk;
}

int Renew(SquareLane& l, int lane)
{
    if (l.x * l.x + l.y * l.y >= kEscapeRadiusSquared)
        return Code(kEscaped, lane);
    if (l.steps == kIterationLimit)
        return Code(kLimit, lane);
    l.markXBits = DoubleBits(l.x);
    l.markX = l.x;
    l.markY = l.y;
    if (l.hasTrap && InTrap(DiskOf(l), l.x, l.y))
        return Code(kTrapped, lane);
    return 0;
}

// One step of a lane: 0, or the code of the event that stops it.
int StepLane(SquarePair& pair, int lane)
{
    SquareLane& l = pair.lane[lane];
    if (l.steps % kMarkPeriod == 0)
        if (const int code = Renew(l, lane))
            return code;
    const long double x = l.x;
    const long double y = l.y;
    const long double xx = x * x;
    const long double yy = y * y;
    if (xx + yy >= kEscapeRadiusSquared)
        return Code(kEscaped, lane);
    l.x = (xx - yy) + pair.cx;
    l.y = (x + x) * y + (static_cast<long double>(l.cyHigh) + l.cyLow);
    ++l.steps;
    if (DoubleBits(l.x) == l.markXBits && l.x == l.markX && l.y == l.markY)
        return Code(kRepeated, lane);
    return 0;
}

// One column: both lanes refilled in place from the rows left, the last
// point of the column stepped alone.
class SquareColumn {
public:
    SquareColumn(long double cx, const long double* cy, int rows, uint16_t* counts)
        : cy_(cy), rows_(rows), counts_(counts)
    {
        pair_.cx = cx;
    }

    void Run(bool assembly)
    {
        bool active[2] = {Load(0), Load(1)};
        while (active[0] && active[1]) {
            const int code = assembly ? quorvex_step_square_pair(&pair_) : StepSquarePair(pair_);
            active[code & 1] = Handle(code);
        }
        for (int lane = 0; lane < 2; ++lane)
            while (active[lane])
                active[lane] = Handle(StepSquareLane(pair_, lane));
    }

private:
    // Puts the next row that needs steps into the lane; false when none is
    // left. A point whose disk holds z_0 = 0 is captured at once; one whose
    // cy does not split into two doubles exactly is iterated on its own.
    bool Load(int lane)
    {
        while (next_ < rows_) {
            const int row = next_++;
            const long double cy = cy_[row];
            SquareLane& l = pair_.lane[lane];
            l = SquareLane{};
            l.cyHigh = double(cy);
            l.cyLow = double(cy - l.cyHigh);
            if (!SameBits(static_cast<long double>(l.cyHigh) + l.cyLow, cy)) {
                counts_[row] = uint16_t(IteratePoint(1, pair_.cx, cy, FormulaParams{}));
                continue;
            }
            const std::optional<TrapDisk> disk = CertifyTrap(pair_.cx, cy);
            if (disk && InTrap(*disk, 0, 0)) {
                counts_[row] = kCaptured;
                continue;
            }
            l.row = row;
            if (disk) {
                l.hasTrap = 1;
                l.trapX = disk->centreX;
                l.trapY = disk->centreY;
                l.trapRadiusSquared = disk->radiusSquared;
            }
            return true;
        }
        return false;
    }

    // Acts on the event; returns whether the lane still has a point.
    bool Handle(int code)
    {
        const int lane = code & 1;
        SquareLane& l = pair_.lane[lane];
        switch (code >> 1) {
        case kEscaped: return Finish(lane, l.steps - 1);
        case kRepeated: return SameBits(l.x, l.markX) && SameBits(l.y, l.markY) ? Finish(lane, kCaptured) : true;
        case kLimit:
        case kTrapped: return Finish(lane, kCaptured);
        default: return true;
        }
    }

    bool Finish(int lane, int count)
    {
        counts_[pair_.lane[lane].row] = uint16_t(count);
        return Load(lane);
    }

    SquarePair pair_;
    const long double* cy_;
    int rows_;
    uint16_t* counts_;
    int next_ = 0;
};

}  // namespace

int StepSquarePair(SquarePair& pair)
{
    for (;;) {
        if (const int code = StepLane(pair, 0))
            return code;
        if (const int code = StepLane(pair, 1))
            return code;
    }
}

int StepSquareLane(SquarePair& pair, int lane)
{
    for (;;)
        if (const int code = StepLane(pair, lane))
            return code;
}

void IterateSquareColumn(long double cx, const long double* cy, int rows, uint16_t* counts, bool assembly)
{
    SquareColumn(cx, cy, rows, counts).Run(assembly);
}
