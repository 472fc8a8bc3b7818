#include "engine/deep/DeepJob.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

// Bits of the reference beyond the pixel's 64: the rounding errors of the
// orbit in high precision act as a shift of the centre, amplified along the
// orbit as a pixel's own offset is; 32 more bits keep that shift below
// 2^-32 of a pixel wherever the amplification of the errors is no more than
// 2^32 times that of an offset.
constexpr long kReferenceMargin = 32;

bool FiniteParams(const FormulaParams& p)
{
    for (const ComplexValue* k : {&p.Gz, &p.It, &p.Rm, &p.Mu})
        if (!std::isfinite(k->re) || !std::isfinite(k->im))
            return false;
    return true;
}

long double Magnitude(const DeepJob& job)
{
    return std::max(std::fabs(job.centreX.Rounded()), std::fabs(job.centreY.Rounded()));
}

// The bits the reference needs, before any cap.
long NeededBits(const DeepJob& job)
{
    const long double magnitude = Magnitude(job);
    const long above = magnitude >= 1 ? long(std::ilogb(magnitude)) + 1 : 0;
    return above - long(std::ilogb(std::min(job.pitchX, job.pitchY))) + kLongDoubleBits + kReferenceMargin;
}

}  // namespace

const char* DeepFaultText(DeepFault fault)
{
    switch (fault) {
    case DeepFault::None: return "can be drawn";
    case DeepFault::Formula: return "deep views are drawn for the polynomial formulas 1 to 4 only";
    case DeepFault::PictureSize: return "the picture must be 1 to 16384 pixels wide and high";
    case DeepFault::Limit: return "the iteration limit must be 1 to 1048576";
    case DeepFault::NotFinite: return "a centre, extent or coefficient is not a finite number";
    case DeepFault::ZeroExtent: return "the extent must be greater than zero";
    case DeepFault::PixelTooSmall: return "the pixels are smaller than 80-bit numbers can tell apart";
    case DeepFault::Precision: return "the view would need more than 17000 bits of precision";
    }
    return "?";
}

DeepFault CheckDeepJob(const DeepJob& job)
{
    if (job.type < kFirstDeepType || job.type > kLastDeepType)
        return DeepFault::Formula;
    if (job.width < 1 || job.height < 1 || job.width > kMaxDeepSide || job.height > kMaxDeepSide)
        return DeepFault::PictureSize;
    if (job.limit < 1 || job.limit > kMaxDeepLimit)
        return DeepFault::Limit;
    if (!std::isfinite(job.pitchX) || !std::isfinite(job.pitchY) || !job.centreX.IsFinite() ||
        !job.centreY.IsFinite() || !std::isfinite(Magnitude(job)) || !FiniteParams(job.params))
        return DeepFault::NotFinite;
    if (!(job.pitchX > 0) || !(job.pitchY > 0))
        return DeepFault::ZeroExtent;
    if (job.pitchX < kSmallestDeepPixel || job.pitchY < kSmallestDeepPixel)
        return DeepFault::PixelTooSmall;
    if (NeededBits(job) > kMaxReferenceBits)
        return DeepFault::Precision;
    return DeepFault::None;
}

long ReferenceBits(const DeepJob& job)
{
    return std::clamp(NeededBits(job), kLongDoubleBits, kMaxReferenceBits);
}

// The switch-over. The direct kernels take each pixel's point as a long
// double and iterate in long double: the points are rounded to a unit
// u = 2^-63 of the centre's magnitude, and every step to a unit of the
// orbit's own, which near the set is of the order of 1 (hence the 1 in the
// magnitude). Their picture is right while a pixel is many units wide.
// Measured against the MPFR truth (bench_render --switch-over, 128 x 128,
// limit 2000, pixels the truth leaves undecided left out), the pixels the
// direct loop misses as the pixel shrinks to p units, and what the deep
// renderer misses at the same views:
//   around c = i: p = 2^17.8 .. 2^12.8: 1 in 16384; 2^11.2: 6; 2^9.5: 10;
//     2^7.8: 20; 2^6.2: 37; 2^4.5: 119; 2^2.8: 155; 2^1.2: 305; 2^-0.5
//     (extent 10^-17): 934, neighbouring pixels now the same point, the
//     blocks of two; 2^-7.1 (10^-19): 11419, a few flat rectangles;
//   around c = -2: none down to 2^5.2, then 6, 22, 44 and 178 at 2^-1.5;
//   the deep renderer: none, at every one of these views.
// So the direct kernels draw a view as well as the deep renderer while a
// pixel is at least 2^12 units (one pixel in 10^4 wrong at most, what the
// deep renderer itself reaches on its checked places); below that their
// misses double with every factor of 3, and the deep renderer takes over:
// at a centre of magnitude 1, pixels of 4.4e-16, a view 7e-13 wide at 1600
// pixels. (At high limits, where orbits of thousands of steps wander near
// the set, the direct loop misses some per cent of the pixels at any depth,
// pixels whose counts change within 10^-8 of a pixel; no switch-over
// mends that, and the deep renderer misses far fewer of them.)
bool DirectKernelsResolve(long double centreX, long double centreY, long double pitchX, long double pitchY)
{
    const long double magnitude = std::max({std::fabs(centreX), std::fabs(centreY), 1.0L});
    const long double unit = std::ldexp(1.0L, std::ilogb(magnitude) - 63);
    return std::min(pitchX, pitchY) >= 0x1p12L * unit;
}
