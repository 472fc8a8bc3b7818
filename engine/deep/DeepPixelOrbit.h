#pragma once
// The deep renderer's pixels, one at a time: the one-pixel loop every faster
// loop is held to (DeepPair.h), and the spans and rebasing they all share.

#include <vector>

#include "engine/deep/DeepBla.h"
#include "engine/deep/DeepPair.h"
#include "engine/deep/DeepOrbit.h"
#include "engine/deep/DeepPixel.h"

struct DeepOrbits {
    std::vector<ReferenceOrbit> orbits;  // [0]: the orbit of 0, where every pixel starts
    std::vector<BlaTable> tables;        // one for each orbit, when spans are used
    std::vector<DeepComplex> starts;     // where each orbit starts: [0] is 0
    std::vector<std::vector<DeepGate>> gates;  // one for each orbit point
};

namespace deep_pixels {

constexpr long double kEscape = 10.0L;
// |z| <= |re| + |im|: below this no point escapes, and its square, which may
// underflow where a part of z is tiny, is not needed.
constexpr long double kEscapeTaxi = 3.16L;

// |a| < |b| where the squares underflow (differences of 10^-2500 and below).
[[gnu::noinline]] inline bool NearerWhenTiny(DeepComplex a, DeepComplex b)
{
    return Norm(0x1p8000L * a) < Norm(0x1p8000L * b);
}

// |a| < |b|. The taxi sizes settle it unless the two are within a factor
// sqrt 2 of each other (|a| <= |re| + |im| <= sqrt 2 |a|), which also
// spares squaring a difference of 10^-2500 or less: its square underflows,
// slowly on the x87.
inline bool Nearer(DeepComplex a, DeepComplex b)
{
    constexpr long double kSqrt2 = 1.41421356237309504880L;
    constexpr long double kTiny = 0x1p-16000L;
    const long double ta = TaxiSize(a);
    const long double tb = TaxiSize(b);
    if (tb * kSqrt2 < ta)
        return false;
    if (ta * kSqrt2 < tb)
        return true;
    const long double na = Norm(a);
    const long double nb = Norm(b);
    if (na >= kTiny || nb >= kTiny)
        return na < nb;
    return NearerWhenTiny(a, b);
}

// |z|^2 >= 10, the escape.
inline bool Escaped(DeepComplex z) { return TaxiSize(z) >= kEscapeTaxi && Norm(z) >= kEscape; }

// One pixel's orbit, as the difference d from a reference orbit point W(m):
// the pixel's z is W(m) + d after n steps.
template <typename Formula>
class PixelOrbit {
public:
    PixelOrbit(const Formula& formula, const DeepOrbits& orbits, uint32_t limit, bool spans)
        : formula_(formula), orbits_(orbits), limit_(limit), spans_(spans)
    {
    }

    DeepPixel Run(DeepComplex dc, DeepStats& stats) const
    {
        State s;
        uint64_t exact = 0;
        while (s.n < limit_) {
            if (spans_ && s.m >= 1 && s.n >= s.singlesUntil &&
                orbits_.tables[s.orbit].MayStart(s.m, TaxiSize(s.d)) && TakeSpan(s, dc, stats))
                continue;
            if (Steps(s, dc, exact, stats)) {
                stats.exactSteps += exact;
                stats.pixelSteps += s.n;
                return {s.n - 1, double(s.last), double(Norm(s.previous))};
            }
        }
        stats.exactSteps += exact;
        stats.pixelSteps += limit_;
        return {limit_, 0.0, 0.0};
    }

    struct State {
        DeepComplex d;
        size_t m = 0;
        size_t orbit = 0;
        uint32_t n = 0;
        DeepComplex previous;      // the iterate before the current one
        long double last = 0.0L;   // |z|^2 of the iterate that escaped
        uint32_t singlesUntil = 0;    // steps up to here are taken one by one
    };

private:
    // Perturbed steps one by one from the pixel's point, in locals, until it
    // escapes (true), reaches the limit, rebases, or may take a span again.
    bool Steps(State& s, DeepComplex dc, uint64_t& exact, DeepStats& stats) const
    {
        const ReferenceOrbit& orbit = Orbit(s);
        const DeepComplex* points = orbit.points.data();
        const DeepComplex* slopes = orbit.slopes.data();
        const size_t end = orbit.Last();
        const BlaTable* table = spans_ ? &orbits_.tables[s.orbit] : nullptr;
        const bool onlyZero = orbits_.starts.size() == 1;
        DeepComplex d = s.d;
        size_t m = s.m;
        uint32_t n = s.n;
        for (;;) {
            d = PerturbedStep(formula_, points[m], Formula::kUsesSlopes ? slopes[m] : DeepComplex{}, d, dc);
            ++m;
            ++n;
            ++exact;
            const DeepComplex z = points[m] + d;
            if (Escaped(z)) {
                s.n = n;
                s.last = Norm(z);
                return true;
            }
            s.previous = z;
            const bool leave = m == end || n >= limit_ || !onlyZero || Nearer(z, d) ||
                               (table && n >= s.singlesUntil && table->MayStart(m, TaxiSize(d)));
            if (leave) {
                s.d = d;
                s.m = m;
                s.n = n;
                Rebase(s, z, stats);
                return false;
            }
        }
    }

public:
    // The longest valid span from the pixel's point, unless the pixel leaves
    // the circle at its end: then the steps inside are taken one by one, to
    // find the step it escaped at and the iterate before. True if taken.
    bool TakeSpan(State& s, DeepComplex dc, DeepStats& stats) const
    {
        uint32_t length = 0;
        const BlaSpan* span = orbits_.tables[s.orbit].Find(s.m, TaxiSize(s.d), limit_ - s.n, length);
        if (!span)
            return false;
        const DeepComplex d = span->a * s.d + span->b * dc;
        const DeepComplex z = Orbit(s).points[s.m + length] + d;
        if (Escaped(z)) {
            s.singlesUntil = s.n + length;
            return false;
        }
        s.d = d;
        s.m += length;
        s.n += length;
        stats.spanSteps += length;
        ++stats.spans;
        s.previous = z;
        Rebase(s, z, stats);
        return true;
    }

    const ReferenceOrbit& Orbit(const State& s) const { return orbits_.orbits[s.orbit]; }

    // Rebasing: when the pixel's z is nearer the start of an orbit (0, or a
    // critical point) than to the orbit point it follows, or that orbit has
    // ended, the difference from that start takes over, from its point 0.
    void Rebase(State& s, DeepComplex z, DeepStats& stats) const
    {
        size_t best = 0;
        DeepComplex nearest = z;
        for (size_t j = 1; j < orbits_.starts.size(); ++j) {
            const DeepComplex d = z - orbits_.starts[j];
            if (Nearer(d, nearest)) {
                best = j;
                nearest = d;
            }
        }
        if (s.m == Orbit(s).Last() || Nearer(nearest, s.d)) {
            s.d = nearest;
            s.m = 0;
            s.orbit = best;
            ++stats.rebases;
        }
    }

private:
    const Formula& formula_;
    const DeepOrbits& orbits_;
    const uint32_t limit_;
    const bool spans_;
};

}  // namespace deep_pixels
