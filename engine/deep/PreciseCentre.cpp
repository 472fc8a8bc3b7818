#include "engine/deep/PreciseCentre.h"

#include <algorithm>
#include <cmath>

PreciseCentre CentreOrFields(const PreciseCentre& centre, PlanePoint fields)
{
    if (!centre.Empty()) {
        const PlanePoint rounded = centre.Rounded();
        if (rounded.re == fields.re && rounded.im == fields.im)
            return centre;
    }
    return PreciseCentre(PreciseReal(fields.re), PreciseReal(fields.im));
}

PreciseCentre MovedCentre(const PreciseCentre& from, long double re, long double im, long double pixel)
{
    const long double magnitude =
        std::max({std::fabs(from.Re().Rounded()), std::fabs(from.Im().Rounded()), 1.0L});
    const long bits = std::clamp(std::max({BitsForPixel(magnitude, pixel), from.Re().Bits(), from.Im().Bits()}),
                                 kLongDoubleBits, kMaxPreciseBits);
    return PreciseCentre(from.Re().Plus(re, bits), from.Im().Plus(im, bits));
}

PreciseCentre WithoutRoundingOnly(const PreciseCentre& centre)
{
    if (centre.Empty())
        return centre;
    const PlanePoint rounded = centre.Rounded();
    if (PreciseReal(rounded.re) == centre.Re() && PreciseReal(rounded.im) == centre.Im())
        return PreciseCentre();
    return centre;
}
