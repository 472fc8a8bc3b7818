#pragma once
// Complex values in 80-bit extended precision and the three operations the
// formulas need. Division reports failure in the status field instead of
// throwing, and leaves the output's parts untouched when it fails.

#include <cstdint>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "Quorvex needs the x87 80-bit extended format (64-bit mantissa) for long double");
static_assert(std::numeric_limits<long double>::max_exponent == 16384,
              "Quorvex needs the 15-bit exponent of the x87 extended format");

struct ComplexValue {
    int32_t status = 0;  // 0: re and im are valid; 1: the division that produced it failed
    long double re = 0.0L;
    long double im = 0.0L;
    bool operator==(const ComplexValue&) const = default;
};

inline void ComplexSub(const ComplexValue& a, const ComplexValue& b, ComplexValue& out)
{
    out.re = a.re - b.re;
    out.im = a.im - b.im;
    out.status = 0;
}

inline void ComplexMul(const ComplexValue& a, const ComplexValue& b, ComplexValue& out)
{
    out.re = a.re * b.re - a.im * b.im;
    out.im = a.re * b.im + a.im * b.re;
    out.status = 0;
}

inline void ComplexDiv(const ComplexValue& a, const ComplexValue& b, ComplexValue& out)
{
    out.status = 1;
    if (b.re == 0.0L && b.im == 0.0L)
        return;
    const long double m = b.re * b.re + b.im * b.im;
    if (m == 0.0L)
        return;
    out.re = (a.re * b.re + a.im * b.im) / m;
    out.im = (a.im * b.re - a.re * b.im) / m;
    out.status = 0;
}
