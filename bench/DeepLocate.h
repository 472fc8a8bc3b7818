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
// radius around (re, im) takes z_p over 0 (to first order), and the nucleus
// of that period Newton's method reaches from (re, im), in `bits`.
Nucleus FindNucleus(int type, const FormulaParams& params, const PreciseReal& re, const PreciseReal& im,
                    long double radius, int maxPeriod, long bits);

// A Misiurewicz point: z_(k+q) = z_k, preperiod k and period q exactly, by
// Newton's method from (re, im); converged false when Newton's method does
// not settle, or settles on a point of smaller preperiod or period.
Nucleus FindMisiurewicz(int type, const FormulaParams& params, const PreciseReal& re, const PreciseReal& im,
                        int preperiod, int period, long bits);
