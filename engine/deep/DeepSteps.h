#pragma once
// One perturbed step of each polynomial map, in long double: with Z a point
// of the reference orbit and d the pixel's difference from it,
//   F(Z + d) + C + dc - (F(Z) + C) = a1 d + a2 d^2 + a3 d^3 + a4 d^4 + dc,
// the a_k the Taylor coefficients of F at Z. The steps evaluate it by Horner's
// rule in d, operations in a fixed order, so that a pixel's orbit is the same
// bits on every machine and in every thread.

#include <cmath>

#include "engine/FormulaParams.h"

struct DeepComplex {
    long double re = 0.0L;
    long double im = 0.0L;
};

inline DeepComplex operator+(DeepComplex a, DeepComplex b) { return {a.re + b.re, a.im + b.im}; }
inline DeepComplex operator-(DeepComplex a, DeepComplex b) { return {a.re - b.re, a.im - b.im}; }
inline DeepComplex operator*(DeepComplex a, DeepComplex b)
{
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
inline DeepComplex operator*(long double k, DeepComplex a) { return {k * a.re, k * a.im}; }
inline long double Norm(DeepComplex a) { return a.re * a.re + a.im * a.im; }
// |re| + |im|: never below the modulus, and never underflows as a square does.
inline long double TaxiSize(DeepComplex a) { return std::fabs(a.re) + std::fabs(a.im); }
inline long double Modulus(DeepComplex a) { return std::hypot(a.re, a.im); }
inline DeepComplex Complex(const ComplexValue& v) { return {v.re, v.im}; }

namespace deep_steps {

// The linear part a1 at Z and a bound S = |a2| + |a3| + |a4| of the rest, so
// that |F(Z + d) - F(Z) - a1 d| <= S |d|^2 whenever |d| <= 1.
struct Linear {
    DeepComplex a1;
    long double rest;
};

// z^2 + c: a1 = 2Z, a2 = 1.
struct Square {
    static constexpr bool kUsesSlopes = false;
    explicit Square(const FormulaParams&) {}
    DeepComplex Step(DeepComplex z, DeepComplex, DeepComplex d, DeepComplex dc) const
    {
        return (2 * z + d) * d + dc;
    }
    DeepComplex A1(DeepComplex z, DeepComplex) const { return 2 * z; }
    Linear LinearAt(DeepComplex z, DeepComplex slope) const { return {A1(z, slope), 1.0L}; }
};

// z^3 + c: a1 = 3Z^2, a2 = 3Z, a3 = 1.
struct Cube {
    static constexpr bool kUsesSlopes = false;
    explicit Cube(const FormulaParams&) {}
    DeepComplex Step(DeepComplex z, DeepComplex, DeepComplex d, DeepComplex dc) const
    {
        return (3 * (z * z) + (3 * z + d) * d) * d + dc;
    }
    DeepComplex A1(DeepComplex z, DeepComplex) const { return 3 * (z * z); }
    Linear LinearAt(DeepComplex z, DeepComplex slope) const { return {A1(z, slope), 3 * Modulus(z) + 1}; }
};

// z^4 + c: a1 = 4Z^3, a2 = 6Z^2, a3 = 4Z, a4 = 1.
struct Fourth {
    static constexpr bool kUsesSlopes = false;
    explicit Fourth(const FormulaParams&) {}
    DeepComplex Step(DeepComplex z, DeepComplex, DeepComplex d, DeepComplex dc) const
    {
        const DeepComplex z2 = z * z;
        return (4 * (z2 * z) + (6 * z2 + (4 * z + d) * d) * d) * d + dc;
    }
    DeepComplex A1(DeepComplex z, DeepComplex) const { return 4 * (z * z * z); }
    Linear LinearAt(DeepComplex z, DeepComplex slope) const
    {
        const long double m = Modulus(z);
        return {A1(z, slope), 6 * m * m + 4 * m + 1};
    }
};

// xi z^4 + eta z^3 + lambda z^2 + mu z + c: a1 = P'(Z), taken from the
// reference (computed there in high precision, so that it keeps its relative
// precision near the critical points), a2 = 6 xi Z^2 + 3 eta Z + lambda,
// a3 = 4 xi Z + eta, a4 = xi.
class Quartic {
public:
    static constexpr bool kUsesSlopes = true;
    explicit Quartic(const FormulaParams& p) : xi_(Complex(p.Gz)), eta_(Complex(p.It)), lambda_(Complex(p.Rm)) {}

    DeepComplex Step(DeepComplex z, DeepComplex slope, DeepComplex d, DeepComplex dc) const
    {
        const DeepComplex a3 = 4 * (xi_ * z) + eta_;
        const DeepComplex a2 = (6 * (xi_ * z) + 3 * eta_) * z + lambda_;
        return (slope + (a2 + (a3 + xi_ * d) * d) * d) * d + dc;
    }
    DeepComplex A1(DeepComplex, DeepComplex slope) const { return slope; }
    Linear LinearAt(DeepComplex z, DeepComplex slope) const
    {
        const DeepComplex a3 = 4 * (xi_ * z) + eta_;
        const DeepComplex a2 = (6 * (xi_ * z) + 3 * eta_) * z + lambda_;
        return {slope, Modulus(a2) + Modulus(a3) + Modulus(xi_)};
    }

private:
    DeepComplex xi_, eta_, lambda_;
};

}  // namespace deep_steps

// One perturbed step. A difference below 2^-8190 has products with itself
// below the smallest normal long double (2^-16382): they underflow, slowly on
// the x87, to values the sum cannot hold beside a1 d and dc but for the last
// bits, so the step is then its linear part.
inline constexpr long double kProductsUnderflow = 0x1p-8190L;

template <typename Formula>
DeepComplex PerturbedStep(const Formula& f, DeepComplex z, DeepComplex slope, DeepComplex d, DeepComplex dc)
{
    if (TaxiSize(d) < kProductsUnderflow)
        return f.A1(z, slope) * d + dc;
    return f.Step(z, slope, d, dc);
}

// Calls visit with the step of the job's polynomial map (types 1 to 4; z^2
// for any other, which the jobs refuse before).
template <typename Visit>
decltype(auto) WithDeepFormula(int type, const FormulaParams& params, Visit&& visit)
{
    switch (type) {
    case 2: return visit(deep_steps::Cube(params));
    case 3: return visit(deep_steps::Fourth(params));
    case 4: return visit(deep_steps::Quartic(params));
    default: return visit(deep_steps::Square(params));
    }
}
