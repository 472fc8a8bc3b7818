#include "DeepLocate.h"

#include <cmath>
#include <memory>
#include <vector>

namespace {

// A complex number in MPFR, with the few operations the search needs.
struct Mp {
    explicit Mp(long bits)
    {
        mpfr_inits2(bits, re, im, t, u, v, nullptr);
        mpfr_set_zero(re, 1);
        mpfr_set_zero(im, 1);
    }
    ~Mp() { mpfr_clears(re, im, t, u, v, nullptr); }
    Mp(const Mp&) = delete;
    Mp& operator=(const Mp&) = delete;

    void Set(const Mp& o)
    {
        mpfr_set(re, o.re, MPFR_RNDN);
        mpfr_set(im, o.im, MPFR_RNDN);
    }
    void Set(long double r, long double i)
    {
        mpfr_set_ld(re, r, MPFR_RNDN);
        mpfr_set_ld(im, i, MPFR_RNDN);
    }
    void Times(const Mp& o)
    {
        mpfr_mul(t, re, o.re, MPFR_RNDN);
        mpfr_mul(u, im, o.im, MPFR_RNDN);
        mpfr_mul(v, re, o.im, MPFR_RNDN);
        mpfr_mul(im, im, o.re, MPFR_RNDN);
        mpfr_add(im, im, v, MPFR_RNDN);
        mpfr_sub(re, t, u, MPFR_RNDN);
    }
    void Plus(const Mp& o)
    {
        mpfr_add(re, re, o.re, MPFR_RNDN);
        mpfr_add(im, im, o.im, MPFR_RNDN);
    }
    void PlusOne() { mpfr_add_ui(re, re, 1, MPFR_RNDN); }
    // |this|^2 into out
    void Norm(mpfr_ptr out)
    {
        mpfr_sqr(t, re, MPFR_RNDN);
        mpfr_sqr(u, im, MPFR_RNDN);
        mpfr_add(out, t, u, MPFR_RNDN);
    }
    // this = this / o
    void Over(Mp& o)
    {
        o.Norm(v);
        mpfr_mul(t, re, o.re, MPFR_RNDN);
        mpfr_mul(u, im, o.im, MPFR_RNDN);
        mpfr_add(t, t, u, MPFR_RNDN);
        mpfr_mul(u, im, o.re, MPFR_RNDN);
        mpfr_mul(im, re, o.im, MPFR_RNDN);
        mpfr_sub(im, u, im, MPFR_RNDN);
        mpfr_div(im, im, v, MPFR_RNDN);
        mpfr_div(re, t, v, MPFR_RNDN);
    }
    double Log10Modulus()
    {
        Norm(v);
        long e = 0;
        const double m = mpfr_get_d_2exp(&e, v, MPFR_RNDN);
        return m > 0 ? (std::log10(m) + double(e) * std::log10(2.0)) / 2 : -1e9;
    }

    mpfr_t re, im, t, u, v;
};

// The polynomial of the type, its coefficients of z^4 .. z^1.
struct Polynomial {
    Polynomial(int type, const FormulaParams& p, long bits) : k{Mp(bits), Mp(bits), Mp(bits), Mp(bits)}, d{Mp(bits), Mp(bits), Mp(bits), Mp(bits)}, w(bits)
    {
        const ComplexValue one{0, 1, 0};
        const ComplexValue zero{};
        const ComplexValue parts[4] = {type == 4 ? p.Gz : type == 3 ? one : zero, type == 4 ? p.It : type == 2 ? one : zero,
                                       type == 4 ? p.Rm : type == 1 ? one : zero, type == 4 ? p.Mu : zero};
        for (int i = 0; i < 4; ++i) {
            k[i].Set(parts[i].re, parts[i].im);
            d[i].Set((4 - i) * parts[i].re, (4 - i) * parts[i].im);
        }
    }
    // out = P(z) (or P'(z))
    void Value(const Mp& z, Mp& out, bool slope)
    {
        const Mp* c = slope ? d : k;
        out.Set(c[0]);
        for (int i = 1; i < 4; ++i) {
            out.Times(z);
            out.Plus(c[i]);
        }
        if (!slope)
            out.Times(z);
    }
    Mp k[4], d[4], w;
};

}  // namespace

Nucleus FindNucleus(int type, const FormulaParams& params, const PreciseReal& re, const PreciseReal& im,
                    long double radius, int maxPeriod, long bits, long double startRe, long double startIm)
{
    Nucleus out;
    Polynomial poly(type, params, bits);
    Mp c(bits), z(bits), dz(bits), slope(bits), next(bits), start(bits), gap(bits);
    start.Set(startRe, startIm);
    z.Set(start);
    mpfr_set(c.re, re.Get(), MPFR_RNDN);
    mpfr_set(c.im, im.Get(), MPFR_RNDN);
    mpfr_t n, r, r2;
    mpfr_inits2(bits, n, r, r2, nullptr);
    mpfr_set_ld(r2, radius, MPFR_RNDN);
    mpfr_sqr(r2, r2, MPFR_RNDN);
    for (int p = 1; p <= maxPeriod && out.period == 0; ++p) {
        poly.Value(z, slope, true);
        dz.Times(slope);
        dz.PlusOne();
        poly.Value(z, next, false);
        z.Set(next);
        z.Plus(c);
        gap.Set(z);
        mpfr_sub(gap.re, gap.re, start.re, MPFR_RNDN);
        mpfr_sub(gap.im, gap.im, start.im, MPFR_RNDN);
        gap.Norm(n);
        dz.Norm(r);
        mpfr_mul(r, r, r2, MPFR_RNDN);
        if (mpfr_cmp(n, r) < 0)
            out.period = p;
        z.Norm(n);
        if (mpfr_cmp_ui(n, 1000000) > 0)
            break;
    }
    for (int round = 0; round < 200 && out.period > 0 && !out.converged; ++round) {
        z.Set(start);
        dz.Set(0, 0);
        double logMultiplier = 0;
        for (int k = 0; k < out.period; ++k) {
            poly.Value(z, slope, true);
            if (k > 0)
                logMultiplier += slope.Log10Modulus();
            dz.Times(slope);
            dz.PlusOne();
            poly.Value(z, next, false);
            z.Set(next);
            z.Plus(c);
        }
        // The minibrot is the whole set shrunk by D lambda^(1/(d-1)), d the
        // degree of the map at its critical point 0.
        const int degree = type == 4 ? (params.Rm.re != 0 || params.Rm.im != 0 ? 2 : 3) : type + 1;
        out.log10Size = -(dz.Log10Modulus() + logMultiplier / (degree - 1));
        mpfr_sub(z.re, z.re, start.re, MPFR_RNDN);
        mpfr_sub(z.im, z.im, start.im, MPFR_RNDN);
        z.Over(dz);
        mpfr_sub(c.re, c.re, z.re, MPFR_RNDN);
        mpfr_sub(c.im, c.im, z.im, MPFR_RNDN);
        const double step = z.Log10Modulus();
        out.converged = step < -double(bits) * 0.30103 + 8 + c.Log10Modulus();
    }
    mpfr_clears(n, r, r2, nullptr);
    out.re = PreciseReal(0.0L, bits);
    out.im = PreciseReal(0.0L, bits);
    mpfr_set(out.re.Set(), c.re, MPFR_RNDN);
    mpfr_set(out.im.Set(), c.im, MPFR_RNDN);
    return out;
}

namespace {

// z_n and dz_n/dc of the orbit of 0 at c, for n = 0 .. steps.
struct Track {
    Track(int steps, long bits)
    {
        for (int n = 0; n <= steps; ++n) {
            z.push_back(std::make_unique<Mp>(bits));
            dz.push_back(std::make_unique<Mp>(bits));
        }
    }
    void Run(Polynomial& poly, const Mp& c, Mp& slope, Mp& next)
    {
        for (size_t n = 0; n + 1 < z.size(); ++n) {
            poly.Value(*z[n], slope, true);
            dz[n + 1]->Set(*dz[n]);
            dz[n + 1]->Times(slope);
            dz[n + 1]->PlusOne();
            poly.Value(*z[n], next, false);
            z[n + 1]->Set(next);
            z[n + 1]->Plus(c);
        }
    }
    std::vector<std::unique_ptr<Mp>> z, dz;
};

// log10 |a - b|
double Log10Distance(const Mp& a, const Mp& b, Mp& scratch)
{
    scratch.Set(a);
    mpfr_sub(scratch.re, scratch.re, b.re, MPFR_RNDN);
    mpfr_sub(scratch.im, scratch.im, b.im, MPFR_RNDN);
    return scratch.Log10Modulus();
}

}  // namespace

Nucleus FindMisiurewicz(int type, const FormulaParams& params, const PreciseReal& re, const PreciseReal& im,
                        int preperiod, int period, long bits)
{
    Nucleus out;
    out.period = period;
    Polynomial poly(type, params, bits);
    Mp c(bits), slope(bits), next(bits), g(bits), dg(bits), scratch(bits);
    mpfr_set(c.re, re.Get(), MPFR_RNDN);
    mpfr_set(c.im, im.Get(), MPFR_RNDN);
    Track track(preperiod + period, bits);
    const double settled = -double(bits) * 0.30103 + 8;
    for (int round = 0; round < 100 && !out.converged; ++round) {
        track.Run(poly, c, slope, next);
        g.Set(*track.z[size_t(preperiod + period)]);
        mpfr_sub(g.re, g.re, track.z[size_t(preperiod)]->re, MPFR_RNDN);
        mpfr_sub(g.im, g.im, track.z[size_t(preperiod)]->im, MPFR_RNDN);
        dg.Set(*track.dz[size_t(preperiod + period)]);
        mpfr_sub(dg.re, dg.re, track.dz[size_t(preperiod)]->re, MPFR_RNDN);
        mpfr_sub(dg.im, dg.im, track.dz[size_t(preperiod)]->im, MPFR_RNDN);
        g.Over(dg);
        mpfr_sub(c.re, c.re, g.re, MPFR_RNDN);
        mpfr_sub(c.im, c.im, g.im, MPFR_RNDN);
        out.converged = g.Log10Modulus() < settled;
    }
    // Exactly this preperiod and period: not already periodic one step
    // earlier, nor with a shorter period.
    track.Run(poly, c, slope, next);
    const auto z = [&](int n) -> const Mp& { return *track.z[size_t(n)]; };
    if (preperiod > 0 && Log10Distance(z(preperiod - 1 + period), z(preperiod - 1), scratch) > -10) {
    } else if (preperiod > 0) {
        out.converged = false;
    }
    for (int d = 1; d < period; ++d)
        if (period % d == 0 && Log10Distance(z(preperiod + d), z(preperiod), scratch) < -10)
            out.converged = false;
    out.re = PreciseReal(0.0L, bits);
    out.im = PreciseReal(0.0L, bits);
    mpfr_set(out.re.Set(), c.re, MPFR_RNDN);
    mpfr_set(out.im.Set(), c.im, MPFR_RNDN);
    return out;
}
