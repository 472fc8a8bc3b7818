#pragma once
// The centre of a view with more digits than the view record's 80-bit fields
// hold. It goes beside the record, whose centre fields are its rounding, and
// with it through every step, the history, places and the clipboard. Empty
// where the record's own fields are the centre, as in every view the direct
// kernels draw.

#include "engine/PlaneRegion.h"
#include "engine/deep/PreciseNumber.h"

class PreciseCentre {
public:
    PreciseCentre() = default;  // none: the record's fields are the centre
    PreciseCentre(const PreciseReal& re, const PreciseReal& im) : present_(true), re_(re), im_(im) {}

    bool Empty() const { return !present_; }
    const PreciseReal& Re() const { return re_; }
    const PreciseReal& Im() const { return im_; }
    // The fields of the view record: each part rounded to nearest.
    PlanePoint Rounded() const { return PlanePoint{re_.Rounded(), im_.Rounded()}; }

    friend bool operator==(const PreciseCentre& a, const PreciseCentre& b)
    {
        return a.present_ == b.present_ && (!a.present_ || (a.re_ == b.re_ && a.im_ == b.im_));
    }

private:
    bool present_ = false;
    PreciseReal re_;
    PreciseReal im_;
};

// The centre a view of the given centre fields stands for: the precise one
// where it rounds to those fields, else the fields themselves, exactly.
PreciseCentre CentreOrFields(const PreciseCentre& centre, PlanePoint fields);

// The centre moved by offsets (each taken exactly as the long double it is),
// carried with the bits a pixel of the given size needs at its magnitude and
// never fewer than it had: the sum is exact where those bits hold it.
PreciseCentre MovedCentre(const PreciseCentre& from, long double re, long double im, long double pixel);

// Empty where the centre is exactly its rounding (nothing beyond the fields).
PreciseCentre WithoutRoundingOnly(const PreciseCentre& centre);
