#pragma once
// Bilinear approximation of a reference orbit: where a pixel's difference d
// from the orbit is small enough, l steps of the perturbed map are, to
// within the rounding of long double, one linear map d -> A d + B dc.
// The argument for the radii is in DeepBla.cpp.

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/deep/DeepOrbit.h"

struct BlaSpan {
    DeepComplex a;
    DeepComplex b;
    long double radius = 0.0L;  // valid while |d| < radius; 0: never
};

class BlaTable {
public:
    BlaTable() = default;
    // Spans of 2, 4, 8, ... steps of the orbit, the span of 2^k steps from
    // point 1 + j 2^k, for pixels whose |dc| is at most largestDc.
    template <typename Formula>
    BlaTable(const ReferenceOrbit& orbit, const Formula& formula, long double largestDc);

    // The longest span from point m (1 or more) valid for a difference of
    // taxi size (|re| + |im|) `size`, of at most `room` steps; nullptr if none.
    const BlaSpan* Find(size_t m, long double size, uint64_t room, uint32_t& steps) const;
    // Whether any span from point m is valid for that size: the shortest one is.
    bool MayStart(size_t m, long double size) const
    {
        const size_t t = m - 1;
        return (t & 1) == 0 && !levels_.empty() && (t >> 1) < levels_[0].size() && size < levels_[0][t >> 1].radius;
    }

    // The radius MayStart compares a size with at point m; 0 where no span starts.
    long double StartRadius(size_t m) const
    {
        const size_t t = m - 1;
        return (t & 1) == 0 && !levels_.empty() && (t >> 1) < levels_[0].size() ? levels_[0][t >> 1].radius : 0.0L;
    }

    size_t Spans() const;

private:
    void Build(std::vector<BlaSpan> singles, long double largestDc);

    std::vector<std::vector<BlaSpan>> levels_;  // levels_[k - 1]: spans of 2^k steps
};

// Epsilon of the approximation: the unit roundoff of long double.
inline constexpr long double kBlaEpsilon = 0x1p-64L;

template <typename Formula>
BlaTable::BlaTable(const ReferenceOrbit& orbit, const Formula& formula, long double largestDc)
{
    // The single steps from point 1 up to the step into the last point.
    std::vector<BlaSpan> singles;
    const size_t last = orbit.Last();
    singles.reserve(last > 0 ? last - 1 : 0);
    for (size_t m = 1; m < last; ++m) {
        const deep_steps::Linear linear = formula.LinearAt(orbit.points[m], orbit.Slope(m));
        long double radius = kBlaEpsilon * Modulus(linear.a1) / linear.rest;
        if (!(radius < 1.0L))
            radius = radius >= 1.0L ? 1.0L : 0.0L;
        radius = std::min(radius, kBlaEpsilon * Modulus(orbit.points[m]));
        singles.push_back({linear.a1, {1.0L, 0.0L}, radius});
    }
    Build(std::move(singles), largestDc);
}
