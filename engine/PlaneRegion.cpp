#include "engine/PlaneRegion.h"

#include <cmath>

#include "engine/NumberFormat.h"

namespace {

std::optional<int> PixelOf(long double offset, long double extent, long double pitch)
{
    if (!(std::fabs(offset) <= extent / 2))
        return std::nullopt;
    return int(RoundHalfUp((offset + extent / 2) / pitch));
}

}  // namespace

std::optional<int> PlaneRegion::ColumnOf(long double re) const { return PixelOf(re - centreX, extentX, pitchX); }

std::optional<int> PlaneRegion::RowOf(long double im) const { return PixelOf(im - centreY, extentY, pitchY); }
