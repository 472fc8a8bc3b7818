#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "../../bench/DeepTruth.h"
#include "../../bench/DeepViews.h"
#include "engine/deep/DeepRenderer.h"

namespace {

const std::atomic<bool> kNever{false};

PreciseReal Precise(const char* text)
{
    const PreciseParse p = ParsePrecise(text);
    EXPECT_EQ(p.fault, PreciseFault::None) << text;
    return p.value;
}

DeepJob Job(int type, const char* re, const char* im, long double extent, int width, int height, uint32_t limit)
{
    return JobOfView({"test", type, re, im, extent, limit, 0}, width, height);
}

// The picture, in bands each drawn by a renderer of its own, as separate
// processes draw the parts of one picture.
std::vector<DeepPixel> Render(const DeepJob& job, int threads, std::vector<std::pair<int, int>> bands = {})
{
    if (bands.empty())
        bands.push_back({0, job.height});
    DeepSettings settings;
    settings.threads = threads;
    std::vector<DeepPixel> pixels(size_t(job.width) * size_t(job.height));
    for (const auto& [first, count] : bands) {
        DeepRenderer renderer(job, settings);
        EXPECT_TRUE(renderer.RenderRows(first, count, &pixels[size_t(first) * size_t(job.width)], kNever));
    }
    return pixels;
}

// Pixels whose count or |z|^2 differ in any bit.
long Differing(const std::vector<DeepPixel>& a, const std::vector<DeepPixel>& b)
{
    long n = 0;
    for (size_t i = 0; i < a.size(); ++i)
        n += a[i].count != b[i].count || std::memcmp(&a[i].lastNorm, &b[i].lastNorm, sizeof(double)) != 0 ||
             std::memcmp(&a[i].previousNorm, &b[i].previousNorm, sizeof(double)) != 0;
    return n;
}

// Pixels whose count differs from the truth's where the truth is settled.
long Mismatches(const DeepJob& job)
{
    const std::vector<DeepPixel> deep = Render(job, 2);
    const std::vector<uint32_t> truth = TruthCounts(job, 0, job.height, 0, 2);
    long mismatches = 0;
    for (size_t i = 0; i < truth.size(); ++i) {
        const int x = int(i % size_t(job.width));
        const int y = int(i / size_t(job.width));
        mismatches += deep[i].count != truth[i] && TruthSettled(job, x, y, truth[i]);
    }
    return mismatches;
}

}  // namespace

TEST(PreciseNumber, KeepsEveryDigitAndReadsItsOwnExactText)
{
    // 0.1 and 0.1 + 10^-998 differ only in their 998th digit.
    const std::string tail = "0." + std::string(998, '0') + "1";
    const PreciseReal small = Precise(tail.c_str());
    const PreciseReal a = Precise(("0.1" + std::string(996, '0') + "1").c_str());
    const PreciseReal b = Precise("0.1");
    EXPECT_FALSE(a == b);
    EXPECT_EQ(a.Rounded(), b.Rounded());
    // Written for a pixel of 10^-1000, the text holds a to a hundredth of a pixel.
    const PreciseReal back = Precise(FormatPrecise(a, 1e-1000L).c_str());
    mpfr_t difference;
    mpfr_init2(difference, 64);
    mpfr_sub(difference, back.Get(), a.Get(), MPFR_RNDN);
    EXPECT_LT(std::fabs(mpfr_get_ld(difference, MPFR_RNDN)), 1e-1002L);
    mpfr_clear(difference);
    EXPECT_EQ(FormatPrecise(a, 1e-10L), "1.00000000000e-01");
    EXPECT_LT(std::fabs(std::log10(small.Rounded()) + 999), 1e-9L);
    // The exact hexadecimal text reads back as the same value.
    EXPECT_TRUE(ParsePrecise(FormatPreciseExact(a)).value == a);
    EXPECT_EQ(Precise("0x1.8p-3").Rounded(), 0.1875L);
    EXPECT_EQ(Precise("-0X.4P+2").Rounded(), -1.0L);
    // A step of the centre keeps the digits too.
    EXPECT_TRUE(b.Plus(1e-30L, 400).Plus(-1e-30L, 400) == b.WithBits(400));
}

TEST(PreciseNumber, RefusesWhatIsNoFiniteNumberWithItsReason)
{
    const std::pair<const char*, PreciseFault> cases[] = {
        {"", PreciseFault::Empty},           {"abc", PreciseFault::Malformed},
        {"1e", PreciseFault::Malformed},     {"1.2.3", PreciseFault::Malformed},
        {"--1", PreciseFault::Malformed},    {"0x", PreciseFault::Malformed},
        {"1e5x", PreciseFault::Malformed},   {" 1", PreciseFault::Malformed},
        {"0x1e3", PreciseFault::None},       {"1p3", PreciseFault::Malformed},
        {"nan", PreciseFault::NotANumber},   {"-NaN", PreciseFault::NotANumber},
        {"inf", PreciseFault::Infinite},     {"-Infinity", PreciseFault::Infinite},
        {"1e5000", PreciseFault::OutOfRange}, {"1e1234567", PreciseFault::OutOfRange},
        {"1e-99999", PreciseFault::None},
    };
    for (const auto& [text, fault] : cases)
        EXPECT_EQ(ParsePrecise(text).fault, fault) << '"' << text << '"';
    EXPECT_EQ(ParsePrecise("0.000" + std::string(kMaxPreciseDigits, '7')).fault, PreciseFault::None);
    EXPECT_EQ(ParsePrecise("7" + std::string(kMaxPreciseDigits, '7')).fault, PreciseFault::TooManyDigits);
    EXPECT_EQ(ParsePrecise(std::string(1000000, '1')).fault, PreciseFault::TooManyDigits);
}

TEST(DeepJob, RefusesViewsBeyondDrawingWithAReason)
{
    const DeepJob good = Job(1, "0", "1", 1e-100L, 8, 8, 100);
    EXPECT_EQ(CheckDeepJob(good), DeepFault::None);
    auto with = [&](auto change) {
        DeepJob job = good;
        change(job);
        return CheckDeepJob(job);
    };
    EXPECT_EQ(with([](DeepJob& j) { j.type = 5; }), DeepFault::Formula);
    EXPECT_EQ(with([](DeepJob& j) { j.width = 0; }), DeepFault::PictureSize);
    EXPECT_EQ(with([](DeepJob& j) { j.limit = 0; }), DeepFault::Limit);
    EXPECT_EQ(with([](DeepJob& j) { j.limit = kMaxDeepLimit + 1; }), DeepFault::Limit);
    EXPECT_EQ(with([](DeepJob& j) { j.pitchX = NAN; }), DeepFault::NotFinite);
    EXPECT_EQ(with([](DeepJob& j) { j.centreY = PreciseReal(INFINITY); }), DeepFault::NotFinite);
    EXPECT_EQ(with([](DeepJob& j) { j.params.Gz.im = NAN; }), DeepFault::NotFinite);
    EXPECT_EQ(with([](DeepJob& j) { j.pitchY = 0; }), DeepFault::ZeroExtent);
    EXPECT_EQ(with([](DeepJob& j) { j.pitchX = kSmallestDeepPixel; }), DeepFault::None);
    EXPECT_EQ(with([](DeepJob& j) { j.pitchX = kSmallestDeepPixel / 2; }), DeepFault::PixelTooSmall);
    EXPECT_EQ(with([](DeepJob& j) {
                  j.pitchX = j.pitchY = kSmallestDeepPixel;
                  j.centreX = Precise("1e200");
              }),
              DeepFault::Precision);
    DeepJob zero = good;
    zero.pitchX = 0;
    DeepRenderer refused(zero);
    std::vector<DeepPixel> pixels(64);
    EXPECT_FALSE(refused.RenderRows(0, 8, pixels.data(), kNever));
}

TEST(DeepJob, SwitchesOverWherePixelsComeWithin4096UnitsOfTheCentre)
{
    const long double unit = 0x1p-63L;  // of numbers from 1 to 2
    EXPECT_TRUE(DirectKernelsResolve(1.5L, 0, 4096 * unit, 4096 * unit));
    EXPECT_FALSE(DirectKernelsResolve(1.5L, 0, std::nextafter(4096 * unit, 0.0L), 4096 * unit));
    EXPECT_FALSE(DirectKernelsResolve(1.5L, 0, 4096 * unit, std::nextafter(4096 * unit, 0.0L)));
    // Near 0 the orbits' own magnitude of about 1 sets the unit; beyond 2 the centre's.
    EXPECT_TRUE(DirectKernelsResolve(1e-30L, 0, 4096 * unit, 4096 * unit));
    EXPECT_TRUE(DirectKernelsResolve(0, -3.0L, 8192 * unit, 8192 * unit));
    EXPECT_FALSE(DirectKernelsResolve(0, -3.0L, 4096 * unit, 4096 * unit));
}

TEST(DeepRenderer, SameBitsWithAnyThreadsAndInAnyBands)
{
    // A minibrot's neighbourhood, spans and rebasing both at work, and the
    // quartic with its critical orbits.
    for (const DeepView& v : VerifyDeepViews()) {
        if (v.name != "minibrot 751 in the seahorse valley" && !(v.type == 4 && v.extent == 1e-30L))
            continue;
        DeepView small = v;
        small.limit = 6000;
        const DeepJob job = JobOfView(small, 23, 17);
        const std::vector<DeepPixel> whole = Render(job, 1);
        const std::vector<DeepPixel> threaded = Render(job, 3);
        const std::vector<DeepPixel> bands = Render(job, 2, {{0, 5}, {5, 11}, {16, 1}});
        ASSERT_EQ(Differing(whole, threaded), 0) << v.name;
        ASSERT_EQ(Differing(whole, bands), 0) << v.name;
        for (const DeepPixel& p : whole) {
            if (p.count < small.limit) {
                ASSERT_TRUE(p.lastNorm >= 10 && p.previousNorm < 10) << v.name << ": " << p.count;
            }
        }
    }
}

TEST(DeepRenderer, CountsAsTheDirectIterationInHighPrecision)
{
    EXPECT_EQ(Mismatches(Job(1, "0", "1", 1e-100L, 20, 20, 2000)), 0);
    for (const DeepView& v : VerifyDeepViews()) {
        if (v.extent > 1e-29L && v.type > 1) {
            DeepView small = v;
            small.limit = 2000;
            EXPECT_EQ(Mismatches(JobOfView(small, 12, 12)), 0) << v.name;
        }
    }
}

TEST(DeepRenderer, RebasesWhereAMinibrotLiesOffTheCentre)
{
    // The minibrot of period 135 near i, a third of the view right of and a
    // fifth above the centre: pixels near it follow their own orbit, the
    // reference another; without rebasing a quarter of them go wrong.
    for (const DeepView& v : VerifyDeepViews()) {
        if (v.name != "minibrot 135 near c = i")
            continue;
        DeepJob job = JobOfView(v, 16, 16);
        job.centreX = job.centreX.Plus(1.1e-100L, 500);
        job.centreY = job.centreY.Plus(0.7e-100L, 500);
        EXPECT_EQ(Mismatches(job), 0);
    }
}

TEST(DeepRenderer, ReachesThePixelsLongDoubleHoldsAndStopsWhenCancelled)
{
    DeepJob job = Job(1, "0", "1", 1e-4900L, 6, 6, 20000);
    DeepRenderer renderer(job);
    DeepProgress progress;
    std::vector<DeepPixel> pixels(36);
    ASSERT_TRUE(renderer.RenderRows(0, 6, pixels.data(), kNever, &progress));
    EXPECT_EQ(progress.rowsDone.load(), 6);
    EXPECT_EQ(pixels[3 * 6 + 3].count, job.limit);  // c = i itself never escapes
    // Around i the counts grow by 8 every 10^-3 in, as the 2-cycle it lands on
    // repels by 4 sqrt 2 a cycle: about 13,000 here, and the pixels differ.
    EXPECT_GT(pixels[0].count, 12500u);
    EXPECT_LT(pixels[0].count, 13500u);
    EXPECT_NE(pixels[0].count, pixels[5].count);
    const std::atomic<bool> cancel{true};
    DeepRenderer cancelled(job);
    EXPECT_FALSE(cancelled.RenderRows(0, 6, pixels.data(), cancel));
}
