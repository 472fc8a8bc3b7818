#include "DeepTruth.h"

#include <mpfr.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

// The registers of one pixel's iteration.
class TruthPixel {
public:
    TruthPixel(const DeepJob& job, long bits) : job_(job)
    {
        for (mpfr_ptr p : All())
            mpfr_init2(p, bits);
        const FormulaParams& k = job.params;
        const long double parts[8] = {k.Gz.re, k.Gz.im, k.It.re, k.It.im, k.Rm.re, k.Rm.im, k.Mu.re, k.Mu.im};
        for (int i = 0; i < 8; ++i)
            mpfr_set_ld(coefficient_[i], parts[i], MPFR_RNDN);
    }
    ~TruthPixel()
    {
        for (mpfr_ptr p : All())
            mpfr_clear(p);
    }
    TruthPixel(const TruthPixel&) = delete;
    TruthPixel& operator=(const TruthPixel&) = delete;

    // The count of pixel (px, py); with a shift, of its point moved right by
    // 2^shift of a pixel.
    uint32_t Count(int px, int py, long shift = 0)
    {
        mpfr_set_ld(t_, PixelOffset(px, job_.width, job_.pitchX), MPFR_RNDN);
        mpfr_add(cx_, job_.centreX.Get(), t_, MPFR_RNDN);
        if (shift != 0) {
            mpfr_set_ld(t_, job_.pitchX, MPFR_RNDN);
            mpfr_mul_2si(t_, t_, shift, MPFR_RNDN);
            mpfr_add(cx_, cx_, t_, MPFR_RNDN);
        }
        mpfr_set_ld(t_, PixelOffset(py, job_.height, job_.pitchY), MPFR_RNDN);
        mpfr_add(cy_, job_.centreY.Get(), t_, MPFR_RNDN);
        for (mpfr_ptr p : {x_, y_, x2_, y2_})
            mpfr_set_zero(p, 1);
        for (uint32_t j = 0; j < job_.limit; ++j) {
            Step();
            mpfr_sqr(x2_, x_, MPFR_RNDN);
            mpfr_sqr(y2_, y_, MPFR_RNDN);
            mpfr_add(t_, x2_, y2_, MPFR_RNDN);
            if (mpfr_cmp_ui(t_, 10) >= 0)
                return j;
        }
        return job_.limit;
    }

private:
    std::vector<mpfr_ptr> All()
    {
        std::vector<mpfr_ptr> all{x_, y_, x2_, y2_, cx_, cy_, t_, u_, v_, w_, a_, b_};
        for (mpfr_t& k : coefficient_)
            all.push_back(k);
        return all;
    }

    // z <- F(z) + c, from x, y and their squares x2, y2.
    void Step()
    {
        switch (job_.type) {
        case 1:
            mpfr_mul(t_, x_, y_, MPFR_RNDN);
            mpfr_sub(x_, x2_, y2_, MPFR_RNDN);
            mpfr_mul_2ui(y_, t_, 1, MPFR_RNDN);
            break;
        case 2:
            mpfr_mul_ui(t_, y2_, 3, MPFR_RNDN);
            mpfr_sub(t_, x2_, t_, MPFR_RNDN);
            mpfr_mul_ui(u_, x2_, 3, MPFR_RNDN);
            mpfr_sub(u_, u_, y2_, MPFR_RNDN);
            mpfr_mul(x_, x_, t_, MPFR_RNDN);
            mpfr_mul(y_, y_, u_, MPFR_RNDN);
            break;
        case 3:
            mpfr_mul(t_, x_, y_, MPFR_RNDN);
            mpfr_mul_2ui(t_, t_, 1, MPFR_RNDN);  // b = 2xy
            mpfr_sub(u_, x2_, y2_, MPFR_RNDN);   // a = x^2 - y^2
            mpfr_mul(y_, u_, t_, MPFR_RNDN);
            mpfr_mul_2ui(y_, y_, 1, MPFR_RNDN);  // 2ab
            mpfr_sqr(u_, u_, MPFR_RNDN);
            mpfr_sqr(t_, t_, MPFR_RNDN);
            mpfr_sub(x_, u_, t_, MPFR_RNDN);  // a^2 - b^2
            break;
        default:
            Quartic();
            break;
        }
        mpfr_add(x_, x_, cx_, MPFR_RNDN);
        mpfr_add(y_, y_, cy_, MPFR_RNDN);
    }

    // x + iy <- (((xi z + eta) z + lambda) z + mu) z.
    void Quartic()
    {
        mpfr_set(a_, coefficient_[0], MPFR_RNDN);
        mpfr_set(b_, coefficient_[1], MPFR_RNDN);
        for (int k = 1; k <= 4; ++k) {
            // (a + ib)(x + iy)
            mpfr_mul(t_, a_, x_, MPFR_RNDN);
            mpfr_mul(u_, b_, y_, MPFR_RNDN);
            mpfr_mul(v_, a_, y_, MPFR_RNDN);
            mpfr_mul(w_, b_, x_, MPFR_RNDN);
            mpfr_sub(a_, t_, u_, MPFR_RNDN);
            mpfr_add(b_, v_, w_, MPFR_RNDN);
            if (k < 4) {
                mpfr_add(a_, a_, coefficient_[2 * k], MPFR_RNDN);
                mpfr_add(b_, b_, coefficient_[2 * k + 1], MPFR_RNDN);
            }
        }
        mpfr_set(x_, a_, MPFR_RNDN);
        mpfr_set(y_, b_, MPFR_RNDN);
    }

    const DeepJob& job_;
    mpfr_t x_, y_, x2_, y2_, cx_, cy_, t_, u_, v_, w_, a_, b_;
    mpfr_t coefficient_[8];
};

}  // namespace

long TruthBits(const DeepJob& job) { return std::min(ReferenceBits(job) + 64, kMaxPreciseBits); }

std::vector<uint32_t> TruthCounts(const DeepJob& job, int first, int count, long bits, int threads)
{
    std::vector<uint32_t> counts(size_t(std::max(count, 0)) * size_t(job.width));
    const long precision = bits > 0 ? bits : TruthBits(job);
    std::atomic<int> next{first};
    auto work = [&] {
        TruthPixel pixel(job, precision);
        for (int y; (y = next++) < first + count;)
            for (int x = 0; x < job.width; ++x)
                counts[size_t(y - first) * size_t(job.width) + size_t(x)] = pixel.Count(x, y);
    };
    const int n = std::max(1, threads > 0 ? threads : int(std::thread::hardware_concurrency()));
    std::vector<std::thread> helpers;
    for (int i = 1; i < n; ++i)
        helpers.emplace_back(work);
    work();
    for (std::thread& t : helpers)
        t.join();
    return counts;
}

uint32_t TruthCount(const DeepJob& job, int x, int y, long bits, long shift)
{
    TruthPixel pixel(job, bits);
    return pixel.Count(x, y, shift);
}

bool TruthSettled(const DeepJob& job, int x, int y, uint32_t count)
{
    return TruthCount(job, x, y, 2 * TruthBits(job)) == count && TruthCount(job, x, y, TruthBits(job), -90) == count;
}
