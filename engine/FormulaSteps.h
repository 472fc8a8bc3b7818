#pragma once
// One step of each of the six maps. Shared by the per-point iteration and the
// column kernels, so both compute the very same bits.

#include <cmath>

#include "engine/FormulaParams.h"

namespace formula_steps {

constexpr long double kEscapeRadiusSquared = 10.0L;

// Each update computes both new parts from the old ones, products strictly
// left to right, so the counts are reproducible to the last bit.
struct Z2 {
    static void Step(long double& x, long double& y, long double cx, long double cy, const FormulaParams&)
    {
        const long double nx = x * x - y * y + cx;
        const long double ny = x * 2 * y + cy;
        x = nx;
        y = ny;
    }
};

struct Z3 {
    static void Step(long double& x, long double& y, long double cx, long double cy, const FormulaParams&)
    {
        const long double nx = x * x * x - x * 3 * y * y + cx;
        const long double ny = x * 3 * x * y - y * y * y + cy;
        x = nx;
        y = ny;
    }
};

struct Z4 {
    static void Step(long double& x, long double& y, long double cx, long double cy, const FormulaParams&)
    {
        const long double nx = x * x * x * x - x * 6 * x * y * y + y * y * y * y + cx;
        const long double ny = x * 4 * y * (x * x - y * y) + cy;
        x = nx;
        y = ny;
    }
};

struct Z4Poly {
    static void Step(long double& x, long double& y, long double cx, long double cy, const FormulaParams& p)
    {
        const long double a2 = x * x - y * y;
        const long double b2 = x * 2 * y;
        const long double a3 = x * x * x - x * 3 * y * y;
        const long double b3 = x * 3 * x * y - y * y * y;
        const long double a4 = x * x * x * x - x * 6 * x * y * y + y * y * y * y;
        const long double b4 = x * 4 * y * (x * x - y * y);
        const long double nx = (p.Gz.re * a4 - p.Gz.im * b4) + (p.It.re * a3 - p.It.im * b3) +
                               (p.Rm.re * a2 - p.Rm.im * b2) + (p.Mu.re * x - p.Mu.im * y) + cx;
        const long double ny = (p.Gz.re * b4 + p.Gz.im * a4) + (p.It.re * b3 + p.It.im * a3) +
                               (p.Rm.re * b2 + p.Rm.im * a2) + (p.Mu.re * y + p.Mu.im * x) + cy;
        x = nx;
        y = ny;
    }
};

struct ZRatio {
    static void Step(long double& x, long double& y, long double cx, long double cy, const FormulaParams& p)
    {
        const ComplexValue z{0, x, y};
        ComplexValue square, numFactor, numerator, denominator, quotient;
        ComplexMul(z, z, square);
        ComplexSub(z, p.Gz, numFactor);
        ComplexMul(square, numFactor, numerator);
        ComplexSub(z, p.It, denominator);
        ComplexDiv(numerator, denominator, quotient);
        if (quotient.status == 0) {
            x = quotient.re + cx;
            y = quotient.im + cy;
        } else {
            // z - eta vanished: send the point outside at once (|z|^2 = 200).
            x = 10.0L;
            y = 10.0L;
        }
    }
};

struct ExpZ2 {
    static void Step(long double& x, long double& y, long double cx, long double cy, const FormulaParams&)
    {
        const long double a = 1.0L - (x * x - y * y);
        const long double b = 0.0L - x * 2 * y;
        const long double e = std::exp(a);  // the same value both times: computed once
        const long double nx = e * std::cos(b) + cx;
        const long double ny = e * std::sin(b) + cy;
        x = nx;
        y = ny;
    }
};

}  // namespace formula_steps
