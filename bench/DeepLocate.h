#pragma once
// Finding deep places to test and time the deep renderer with: the period of
// the first minibrot a disk of parameters reaches, and its nucleus by
// Newton's method, in MPFR.

#include "engine/FormulaParams.h"
#include "engine/deep/PreciseNumber.h"

struct Nucleus {
    int period = 0;  // 0: none found up to the largest period asked for
    PreciseReal re;
    PreciseReal im;
    double log10Size = 0;  // the estimated size of its minibrot, 10^log10Size
    bool converged = false;
};

// The smallest p <= maxPeriod at which the disk of parameters of the given
// radius around (re, im) takes z_p over the start (to first order), z_0 the
// start, and the parameter of that period where z_p is the start, by
// Newton's method from (re, im), in `bits`. From 0 that is the nucleus of a
// minibrot; from another critical point of the quartic, a parameter whose
// cycle through that point is superattracting.
Nucleus FindNucleus(int type, const FormulaParams& params, const PreciseReal& re, const PreciseReal& im,
                    long double radius, int maxPeriod, long bits, long double startRe = 0, long double startIm = 0);

// A Misiurewicz point: z_(k+q) = z_k, preperiod k and period q exactly, by
// Newton's method from (re, im); converged false when Newton's method does
// not settle, or settles on a point of smaller preperiod or period.
Nucleus FindMisiurewicz(int type, const FormulaParams& params, const PreciseReal& re, const PreciseReal& im,
                        int preperiod, int period, long bits);
