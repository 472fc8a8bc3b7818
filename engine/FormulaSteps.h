#pragma once
// One step of each of the six maps. Shared by the per-point iteration and the
// column kernels, so both compute the very same bits.

#include <cmath>
#include <initializer_list>

#include "engine/Iteration.h"

namespace formula_steps {

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

// Z4Poly with every product by a coefficient part that is exactly zero left
// out, and every term whose coefficient is zero: for real coefficients a
// quarter of the products. Every value differs from Z4Poly's at most in the
// sign of a zero. A left-out product is +0 or -0: at the start of a step
// |z|^2 < 10, so with coefficient parts finite and at most 2^32 (Applies)
// every power and product is finite, never infinite times zero. Adding +0
// or -0 leaves any other value as it is, and a value that is zero in one
// sum is zero in the other; so, step by step, the two orbits hold the same
// values up to the signs of zeros, and a zero's sign never changes a
// magnitude in +, - and *: the same escape test, the same counts.
class SparseZ4Poly {
public:
    static bool Applies(const FormulaParams& p)
    {
        for (const ComplexValue* k : {&p.Gz, &p.It, &p.Rm, &p.Mu})
            if (!(std::fabs(k->re) <= 0x1p32L && std::fabs(k->im) <= 0x1p32L))
                return false;
        return true;
    }

    explicit SparseZ4Poly(const FormulaParams& p) : gz_(p.Gz), it_(p.It), rm_(p.Rm), mu_(p.Mu) {}

    void Step(long double& x, long double& y, long double cx, long double cy) const
    {
        Sum s;
        if (gz_.used) {
            const long double a4 = x * x * x * x - x * 6 * x * y * y + y * y * y * y;
            const long double b4 = x * 4 * y * (x * x - y * y);
            s.Add(gz_, a4, b4);
        }
        if (it_.used)
            s.Add(it_, x * x * x - x * 3 * y * y, x * 3 * x * y - y * y * y);
        if (rm_.used)
            s.Add(rm_, x * x - y * y, x * 2 * y);
        if (mu_.used)
            s.Add(mu_, x, y);
        const long double nx = s.any ? s.x + cx : cx;
        const long double ny = s.any ? s.y + cy : cy;
        x = nx;
        y = ny;
    }

private:
    struct Coefficient {
        explicit Coefficient(const ComplexValue& k) : re(k.re), im(k.im), hasRe(k.re != 0), hasIm(k.im != 0) {}
        long double re, im;
        bool hasRe, hasIm;
        bool used = hasRe || hasIm;
    };

    // Z4Poly's sum of k * (a + ib) over the terms, left to right.
    struct Sum {
        long double x = 0, y = 0;
        bool any = false;

        void Add(const Coefficient& k, long double a, long double b)
        {
            long double tx, ty;
            if (k.hasRe && k.hasIm) {
                tx = k.re * a - k.im * b;
                ty = k.re * b + k.im * a;
            } else if (k.hasRe) {
                tx = k.re * a;
                ty = k.re * b;
            } else {
                tx = -(k.im * b);
                ty = k.im * a;
            }
            x = any ? x + tx : tx;
            y = any ? y + ty : ty;
            any = true;
        }
    };

    Coefficient gz_, it_, rm_, mu_;
};

// SparseZ4Poly for the coefficients the program starts with: xi, eta and
// lambda real and not zero, mu zero. A short step without a branch.
struct RealZ4Poly {
    static bool Applies(const FormulaParams& p)
    {
        return SparseZ4Poly::Applies(p) && p.Gz.re != 0 && p.It.re != 0 && p.Rm.re != 0 && p.Gz.im == 0 &&
               p.It.im == 0 && p.Rm.im == 0 && p.Mu.re == 0 && p.Mu.im == 0;
    }

    static void Step(long double& x, long double& y, long double cx, long double cy, const FormulaParams& p)
    {
        const long double a4 = x * x * x * x - x * 6 * x * y * y + y * y * y * y;
        const long double b4 = x * 4 * y * (x * x - y * y);
        const long double a3 = x * x * x - x * 3 * y * y;
        const long double b3 = x * 3 * x * y - y * y * y;
        const long double nx = p.Gz.re * a4 + p.It.re * a3 + p.Rm.re * (x * x - y * y) + cx;
        const long double ny = p.Gz.re * b4 + p.It.re * b3 + p.Rm.re * (x * 2 * y) + cy;
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

// ZRatio for real xi and eta, as the program starts with: y - (+0) is y, bit
// for bit, so the imaginary parts of z - xi and z - eta are y itself.
struct RealZRatio {
    static bool Applies(const FormulaParams& p)
    {
        return p.Gz.im == 0 && !std::signbit(p.Gz.im) && p.It.im == 0 && !std::signbit(p.It.im);
    }

    static void Step(long double& x, long double& y, long double cx, long double cy, const FormulaParams& p)
    {
        const long double squareRe = x * x - y * y;
        const long double squareIm = x * y + y * x;
        const long double factorRe = x - p.Gz.re;
        const long double numeratorRe = squareRe * factorRe - squareIm * y;
        const long double numeratorIm = squareRe * y + squareIm * factorRe;
        const long double denominatorRe = x - p.It.re;
        const long double m = denominatorRe * denominatorRe + y * y;
        if ((denominatorRe == 0 && y == 0) || m == 0) {
            x = 10.0L;
            y = 10.0L;
            return;
        }
        const long double quotientRe = (numeratorRe * denominatorRe + numeratorIm * y) / m;
        const long double quotientIm = (numeratorIm * denominatorRe - numeratorRe * y) / m;
        x = quotientRe + cx;
        y = quotientIm + cy;
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

// The plain loop of a map: z starts at the point (zx, zy) and every step
// adds the fixed c, one step after the other. For a Julia set z0 is the
// pixel's point; the plane starts at z = 0 (IteratePlainly).
template <typename Formula>
EscapeCount IterateJuliaPlainly(long double zx, long double zy, long double cRe, long double cIm,
                                const FormulaParams& params, int limit = kDefaultIterationLimit,
                                EscapeEnd* end = nullptr)
{
    long double x = zx;
    long double y = zy;
    long double before = x * x + y * y;
    for (int j = 0; j < limit; ++j) {
        Formula::Step(x, y, cRe, cIm, params);
        const long double r = x * x + y * y;
        if (r >= kEscapeRadiusSquared) {
            if (end)
                *end = EscapeEnd{float(before), float(r)};
            return j;
        }
        before = r;
    }
    return limit;
}

// The plain loop of a map from z = 0 with c the pixel's point: what every
// kernel's counts, and the ends of the orbits that escape, are held to.
template <typename Formula>
EscapeCount IteratePlainly(long double cx, long double cy, const FormulaParams& params,
                           int limit = kDefaultIterationLimit, EscapeEnd* end = nullptr)
{
    return IterateJuliaPlainly<Formula>(0.0L, 0.0L, cx, cy, params, limit, end);
}

}  // namespace formula_steps
