#include "engine/deep/DeepOrbit.h"

#include <array>
#include <complex>

namespace {

constexpr long double kEscape = 10.0L;
constexpr uint32_t kCancelEvery = 256;

// A complex number in MPFR with the temporaries its products need.
class MpComplex {
public:
    explicit MpComplex(long bits)
    {
        for (mpfr_ptr p : {re, im, t1, t2, t3})
            mpfr_init2(p, bits);
        mpfr_set_zero(re, 1);
        mpfr_set_zero(im, 1);
    }
    ~MpComplex()
    {
        for (mpfr_ptr p : {re, im, t1, t2, t3})
            mpfr_clear(p);
    }
    MpComplex(const MpComplex&) = delete;
    MpComplex& operator=(const MpComplex&) = delete;

    void Set(long double r, long double i)
    {
        mpfr_set_ld(re, r, MPFR_RNDN);
        mpfr_set_ld(im, i, MPFR_RNDN);
    }
    void Set(const MpComplex& other)
    {
        mpfr_set(re, other.re, MPFR_RNDN);
        mpfr_set(im, other.im, MPFR_RNDN);
    }
    // this = this * k
    void Multiply(const MpComplex& k)
    {
        mpfr_mul(t1, re, k.re, MPFR_RNDN);
        mpfr_mul(t2, im, k.im, MPFR_RNDN);
        mpfr_mul(t3, re, k.im, MPFR_RNDN);
        mpfr_mul(im, im, k.re, MPFR_RNDN);
        mpfr_add(im, im, t3, MPFR_RNDN);
        mpfr_sub(re, t1, t2, MPFR_RNDN);
    }
    void Square()
    {
        mpfr_sqr(t1, re, MPFR_RNDN);
        mpfr_sqr(t2, im, MPFR_RNDN);
        mpfr_mul(im, im, re, MPFR_RNDN);
        mpfr_mul_2ui(im, im, 1, MPFR_RNDN);
        mpfr_sub(re, t1, t2, MPFR_RNDN);
    }
    void Cube()
    {
        mpfr_sqr(t1, re, MPFR_RNDN);
        mpfr_sqr(t2, im, MPFR_RNDN);
        mpfr_mul_ui(t3, t2, 3, MPFR_RNDN);
        mpfr_sub(t3, t1, t3, MPFR_RNDN);
        mpfr_mul(re, re, t3, MPFR_RNDN);  // x (x^2 - 3 y^2)
        mpfr_mul_ui(t1, t1, 3, MPFR_RNDN);
        mpfr_sub(t1, t1, t2, MPFR_RNDN);
        mpfr_mul(im, im, t1, MPFR_RNDN);  // y (3 x^2 - y^2)
    }
    void Add(const MpComplex& k)
    {
        mpfr_add(re, re, k.re, MPFR_RNDN);
        mpfr_add(im, im, k.im, MPFR_RNDN);
    }
    DeepComplex Rounded() const { return {mpfr_get_ld(re, MPFR_RNDN), mpfr_get_ld(im, MPFR_RNDN)}; }

    mpfr_t re, im;

private:
    mpfr_t t1, t2, t3;
};

// The quartic's coefficients in MPFR: for P and for P'.
struct QuarticCoefficients {
    explicit QuarticCoefficients(const FormulaParams& p, long bits)
        : xi(bits), eta(bits), lambda(bits), mu(bits), xi4(bits), eta3(bits), lambda2(bits)
    {
        xi.Set(p.Gz.re, p.Gz.im);
        eta.Set(p.It.re, p.It.im);
        lambda.Set(p.Rm.re, p.Rm.im);
        mu.Set(p.Mu.re, p.Mu.im);
        xi4.Set(4 * p.Gz.re, 4 * p.Gz.im);
        eta3.Set(p.It.re, p.It.im);
        mpfr_mul_ui(eta3.re, eta3.re, 3, MPFR_RNDN);
        mpfr_mul_ui(eta3.im, eta3.im, 3, MPFR_RNDN);
        lambda2.Set(2 * p.Rm.re, 2 * p.Rm.im);
    }
    MpComplex xi, eta, lambda, mu, xi4, eta3, lambda2;
};

// w = ((k0 z + k1) z + k2) z + k3, by Horner's rule.
void Horner(MpComplex& w, const MpComplex& z, const MpComplex& k0, const MpComplex& k1, const MpComplex& k2,
            const MpComplex& k3)
{
    w.Set(k0);
    for (const MpComplex* k : {&k1, &k2, &k3}) {
        w.Multiply(z);
        w.Add(*k);
    }
}

// z = F(z) + c for the types 1 to 3.
void StepPower(int type, MpComplex& z)
{
    if (type == 1) {
        z.Square();
    } else if (type == 2) {
        z.Cube();
    } else {
        z.Square();
        z.Square();
    }
}

}  // namespace

bool ComputeReferenceOrbit(const DeepJob& job, DeepComplex start, long bits, ReferenceOrbit& orbit,
                           const std::atomic<bool>& cancel, std::atomic<uint64_t>* steps)
{
    orbit = ReferenceOrbit{};
    orbit.start = start;
    orbit.points.reserve(size_t(job.limit) + 1);
    orbit.points.push_back(start);
    MpComplex z(bits), c(bits), w(bits);
    z.Set(start.re, start.im);
    mpfr_set(c.re, job.centreX.Get(), MPFR_RNDN);
    mpfr_set(c.im, job.centreY.Get(), MPFR_RNDN);
    const bool quartic = job.type == 4;
    QuarticCoefficients k(job.params, quartic ? bits : MPFR_PREC_MIN);
    for (uint32_t step = 0; step < job.limit; ++step) {
        if (step % kCancelEvery == 0) {
            if (cancel.load(std::memory_order_relaxed))
                return false;
            if (steps && step > 0)
                *steps += kCancelEvery;
        }
        if (quartic) {
            Horner(w, z, k.xi4, k.eta3, k.lambda2, k.mu);  // P'(z)
            orbit.slopes.push_back(w.Rounded());
            Horner(w, z, k.xi, k.eta, k.lambda, k.mu);
            w.Multiply(z);  // P(z)
            z.Set(w);
        } else {
            StepPower(job.type, z);
        }
        z.Add(c);
        const DeepComplex rounded = z.Rounded();
        orbit.points.push_back(rounded);
        if (Norm(rounded) >= kEscape)
            break;
    }
    if (quartic)
        orbit.slopes.push_back(DeepComplex{});  // the last point's slope is never used
    return true;
}

std::vector<DeepComplex> QuarticCriticalPoints(const FormulaParams& p)
{
    using C = std::complex<long double>;
    // P'(z) / 4 xi = z^3 + a z^2 + b z + d, or of lower degree when xi (then eta) is zero.
    std::array<C, 4> k{C(4 * p.Gz.re, 4 * p.Gz.im), C(3 * p.It.re, 3 * p.It.im), C(2 * p.Rm.re, 2 * p.Rm.im),
                       C(p.Mu.re, p.Mu.im)};
    size_t first = 0;
    while (first < 3 && k[first] == C(0))
        ++first;
    const size_t degree = 3 - first;
    if (degree == 0)
        return {};
    auto value = [&](C z) {
        C v = k[first];
        for (size_t i = first + 1; i < 4; ++i)
            v = v * z + k[i];
        return v;
    };
    // Durand and Kerner's simultaneous iteration from fixed starting points:
    // the same points for the same coefficients.
    std::vector<C> roots(degree);
    for (size_t i = 0; i < degree; ++i)
        roots[i] = std::pow(C(0.4L, 0.9L), int(i));
    for (int round = 0; round < 500; ++round)
        for (size_t i = 0; i < degree; ++i) {
            C denominator = k[first];
            for (size_t j = 0; j < degree; ++j)
                if (j != i)
                    denominator *= roots[i] - roots[j];
            if (denominator != C(0))
                roots[i] -= value(roots[i]) / denominator;
        }
    std::vector<DeepComplex> points;
    for (const C& r : roots) {
        const DeepComplex point{r.real(), r.imag()};
        bool known = !(std::abs(r) > 1e-12L) || !(Norm(point) < kEscape);
        for (const DeepComplex& q : points)
            known = known || Modulus(q - point) <= 1e-12L;
        if (!known)
            points.push_back(point);
    }
    return points;
}
