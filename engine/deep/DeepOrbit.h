#pragma once
// Reference orbits of a deep view: W0 = start, W(k+1) = F(Wk) + C for the
// view's precise centre C, computed in MPFR and kept rounded to long double.

#include <atomic>
#include <cstdint>
#include <vector>

#include "engine/deep/DeepJob.h"
#include "engine/deep/DeepSteps.h"

struct ReferenceOrbit {
    DeepComplex start;
    // W0 .. W(last): up to limit steps, or to the first point with |W|^2 >= 10.
    std::vector<DeepComplex> points;
    // Type 4: P'(Wk), rounded from its value in high precision; else empty.
    std::vector<DeepComplex> slopes;

    size_t Last() const { return points.size() - 1; }
    DeepComplex Slope(size_t k) const { return slopes.empty() ? DeepComplex{} : slopes[k]; }
};

// The orbit of start at the job's centre in `bits` of precision. False, with
// the orbit partly computed, once cancel is set; steps counts the steps done.
bool ComputeReferenceOrbit(const DeepJob& job, DeepComplex start, long bits, ReferenceOrbit& orbit,
                           const std::atomic<bool>& cancel, std::atomic<uint64_t>* steps = nullptr);

// The critical points of type 4's polynomial (zeros of P') other than 0 and
// inside |z|^2 < 10, from the coefficients alone, in long double: where a
// pixel's orbit can pass whose difference from an orbit of 0 would then lose
// its precision.
std::vector<DeepComplex> QuarticCriticalPoints(const FormulaParams& params);
