#include "DeepBench.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "DeepLocate.h"
#include "DeepTruth.h"
#include "DeepViews.h"
#include "Stopwatch.h"
#include "engine/FormulaSteps.h"
#include "engine/RenderWorkers.h"
#include "engine/deep/DeepRenderer.h"

namespace {

const std::atomic<bool> kNoCancel{false};

// The deep counts against the truth: exact, wrong, or undecided where the
// truth's own count is not settled (TruthSettled).
struct Agreement {
    long pixels = 0;
    long exact = 0;
    long undecided = 0;
    uint32_t largest = 0;  // the largest difference of a wrong pixel

    double Share() const { return pixels > 0 ? 100.0 * double(exact) / double(pixels - undecided) : 100.0; }
    void Add(const Agreement& o)
    {
        pixels += o.pixels;
        exact += o.exact;
        undecided += o.undecided;
        largest = std::max(largest, o.largest);
    }
};

uint32_t Difference(uint32_t a, uint32_t b) { return a > b ? a - b : b - a; }

Agreement Agree(const std::vector<uint32_t>& counts, const std::vector<uint32_t>& truth, const DeepJob& job)
{
    Agreement a;
    for (size_t i = 0; i < truth.size(); ++i) {
        ++a.pixels;
        if (counts[i] == truth[i]) {
            ++a.exact;
        } else if (!TruthSettled(job, int(i % size_t(job.width)), int(i / size_t(job.width)), truth[i])) {
            ++a.undecided;
        } else {
            a.largest = std::max(a.largest, Difference(counts[i], truth[i]));
        }
    }
    return a;
}

struct DeepRun {
    std::vector<DeepPixel> pixels;
    DeepStats stats;
    double referenceSeconds = 0;
    double renderSeconds = 0;
    double referenceCpu = 0;  // processor seconds, all threads
    double renderCpu = 0;
    long bits = 0;
    size_t orbitPoints = 0;
    size_t spans = 0;
    DeepFault fault = DeepFault::None;
};

DeepRun RunDeep(const DeepJob& job, const DeepSettings& settings)
{
    DeepRun run;
    DeepRenderer renderer(job, settings);
    run.fault = renderer.Fault();
    if (run.fault != DeepFault::None)
        return run;
    run.pixels.resize(size_t(job.width) * size_t(job.height));
    const std::clock_t start = std::clock();
    run.referenceSeconds = SecondsOf([&] { renderer.Prepare(kNoCancel); });
    const std::clock_t prepared = std::clock();
    run.renderSeconds = SecondsOf([&] { renderer.RenderRows(0, job.height, run.pixels.data(), kNoCancel); });
    run.referenceCpu = double(prepared - start) / CLOCKS_PER_SEC;
    run.renderCpu = double(std::clock() - prepared) / CLOCKS_PER_SEC;
    run.stats = renderer.Stats();
    run.bits = renderer.Bits();
    run.orbitPoints = renderer.OrbitPoints();
    run.spans = renderer.TableSpans();
    return run;
}

std::vector<uint32_t> Counts(const std::vector<DeepPixel>& pixels)
{
    std::vector<uint32_t> counts(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i)
        counts[i] = pixels[i].count;
    return counts;
}

std::string Percent(double share)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f%%", share);
    return text;
}

// The count with the formula's own 80-bit step, as the direct kernels take it, at any limit.
template <typename Step>
uint32_t DirectCount(long double cx, long double cy, const FormulaParams& p, uint32_t limit)
{
    long double x = 0, y = 0;
    for (uint32_t j = 0; j < limit; ++j) {
        Step::Step(x, y, cx, cy, p);
        if (x * x + y * y >= kEscapeRadiusSquared)
            return j;
    }
    return limit;
}

std::vector<uint32_t> DirectCounts(const DeepJob& job, int* distinctPoints)
{
    const long double cx0 = job.centreX.Rounded();
    const long double cy0 = job.centreY.Rounded();
    std::vector<uint32_t> counts(size_t(job.width) * size_t(job.height));
    std::vector<long double> xs, ys;
    for (int y = 0; y < job.height; ++y)
        for (int x = 0; x < job.width; ++x) {
            const long double cx = PixelOffset(x, job.width, job.pitchX) + cx0;
            const long double cy = PixelOffset(y, job.height, job.pitchY) + cy0;
            if (y == 0)
                xs.push_back(cx);
            if (x == 0)
                ys.push_back(cy);
            uint32_t& n = counts[size_t(y) * size_t(job.width) + size_t(x)];
            switch (job.type) {
            case 1: n = DirectCount<formula_steps::Z2>(cx, cy, job.params, job.limit); break;
            case 2: n = DirectCount<formula_steps::Z3>(cx, cy, job.params, job.limit); break;
            case 3: n = DirectCount<formula_steps::Z4>(cx, cy, job.params, job.limit); break;
            default: n = DirectCount<formula_steps::Z4Poly>(cx, cy, job.params, job.limit); break;
            }
        }
    std::sort(xs.begin(), xs.end());
    std::sort(ys.begin(), ys.end());
    *distinctPoints = int(std::unique(xs.begin(), xs.end()) - xs.begin()) * int(std::unique(ys.begin(), ys.end()) - ys.begin());
    return counts;
}

long double ExtentOf(const char* text) { return std::strtold(text, nullptr); }

int Argument(int argc, char** argv, int i, int fallback) { return i < argc ? std::atoi(argv[i]) : fallback; }

void WritePicture(const std::string& path, const DeepJob& job, const std::vector<DeepPixel>& pixels)
{
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << job.width << " " << job.height << "\n255\n";
    for (const DeepPixel& p : pixels) {
        const bool captured = p.count >= job.limit;
        const uint32_t n = p.count;
        const unsigned char rgb[3] = {captured ? uint8_t(0) : uint8_t(n * 7), captured ? uint8_t(0) : uint8_t(n * 3),
                                      captured ? uint8_t(0) : uint8_t(128 + n * 11)};
        out.write(reinterpret_cast<const char*>(rgb), 3);
    }
}

}  // namespace

int VerifyDeep(int argc, char** argv)
{
    const int scale = Argument(argc, argv, 2, 1);
    std::printf("cores=%u workers=%d\n", std::thread::hardware_concurrency(), RenderThreadCount());
    Agreement withSpans, withoutSpans;
    for (const DeepView& v : VerifyDeepViews()) {
        const DeepJob job = JobOfView(v, v.side * scale, v.side * scale);
        std::vector<uint32_t> truth;
        const double truthSeconds = SecondsOf([&] { truth = TruthCounts(job, 0, job.height); });
        const DeepRun bla = RunDeep(job, {});
        DeepSettings plain;
        plain.bla = false;
        const DeepRun exact = RunDeep(job, plain);
        const Agreement a = Agree(Counts(bla.pixels), truth, job);
        const Agreement b = Agree(Counts(exact.pixels), truth, job);
        withSpans.Add(a);
        withoutSpans.Add(b);
        std::string single;
        if (v.type == 4) {
            DeepSettings zeroOnly;
            zeroOnly.criticalOrbits = false;
            const Agreement c = Agree(Counts(RunDeep(job, zeroOnly).pixels), truth, job);
            single = " zero_orbit_only_exact=" + Percent(c.Share()) + " zero_orbit_only_largest=" + std::to_string(c.largest);
        }
        const auto [low, high] = std::minmax_element(truth.begin(), truth.end());
        std::printf("view=\"%s\" type=%d extent=%.3Le size=%dx%d limit=%u counts=%u..%u bits=%ld truth_bits=%ld truth_s=%.1f "
                    "undecided=%ld bla_exact=%s bla_largest=%u plain_exact=%s plain_largest=%u%s\n",
                    v.name.c_str(), v.type, v.extent, job.width, job.height, v.limit, *low, *high, bla.bits, TruthBits(job),
                    truthSeconds, a.undecided, Percent(a.Share()).c_str(), a.largest, Percent(b.Share()).c_str(), b.largest,
                    single.c_str());
        std::fflush(stdout);
    }
    std::printf("verify-deep pixels=%ld undecided=%ld bla_exact=%s bla_largest=%u plain_exact=%s plain_largest=%u\n",
                withSpans.pixels, withSpans.undecided, Percent(withSpans.Share()).c_str(), withSpans.largest,
                Percent(withoutSpans.Share()).c_str(), withoutSpans.largest);
    return withSpans.Share() >= 99.9 && withoutSpans.Share() >= 99.9 ? 0 : 1;
}

int DeepViewCommand(int argc, char** argv)
{
    if (argc < 9) {
        std::fprintf(stderr, "--deep-view TYPE RE IM EXTENT W H LIMIT [truth] [bla] [zero] [out.ppm]\n");
        return 2;
    }
    const DeepView v{"view", std::atoi(argv[2]), argv[3], argv[4], ExtentOf(argv[5]), uint32_t(std::atol(argv[8])), 0};
    const DeepJob job = JobOfView(v, std::atoi(argv[6]), std::atoi(argv[7]));
    bool truth = false;
    bool blaOnly = false;
    bool zeroOnly = false;
    std::string picture;
    for (int i = 9; i < argc; ++i) {
        if (std::strcmp(argv[i], "truth") == 0)
            truth = true;
        else if (std::strcmp(argv[i], "bla") == 0)
            blaOnly = true;
        else if (std::strcmp(argv[i], "zero") == 0)
            zeroOnly = true;
        else
            picture = argv[i];
    }
    for (bool bla : {true, false}) {
        if (!bla && blaOnly)
            break;
        DeepSettings settings;
        settings.bla = bla;
        settings.criticalOrbits = !zeroOnly;
        const DeepRun run = RunDeep(job, settings);
        if (run.fault != DeepFault::None) {
            std::printf("refused: %s\n", DeepFaultText(run.fault));
            return 1;
        }
        const std::vector<uint32_t> counts = Counts(run.pixels);
        const auto [low, high] = std::minmax_element(counts.begin(), counts.end());
        const long captured = long(std::count(counts.begin(), counts.end(), job.limit));
        std::printf("bla=%s bits=%ld reference_s=%.3f render_s=%.3f reference_cpu_s=%.3f render_cpu_s=%.3f counts=%u..%u captured=%ld orbit=%zu spans=%zu "
                    "pixel_steps=%llu exact_steps=%llu span_steps=%llu spans_taken=%llu rebases=%llu\n",
                    bla ? "on" : "off", run.bits, run.referenceSeconds, run.renderSeconds, run.referenceCpu,
                    run.renderCpu, *low, *high, captured,
                    run.orbitPoints, run.spans, (unsigned long long)run.stats.pixelSteps,
                    (unsigned long long)run.stats.exactSteps, (unsigned long long)run.stats.spanSteps,
                    (unsigned long long)run.stats.spans, (unsigned long long)run.stats.rebases);
        if (truth) {
            const std::vector<uint32_t> t = TruthCounts(job, 0, job.height);
            const Agreement a = Agree(counts, t, job);
            std::printf("  truth: exact=%s largest=%u undecided=%ld\n", Percent(a.Share()).c_str(), a.largest, a.undecided);
            for (size_t i = 0; i < t.size() && getenv("QV_SHOW"); ++i)
                if (t[i] != counts[i])
                    std::printf("    pixel %zu,%zu: deep %u truth %u\n", i % job.width, i / job.width, counts[i], t[i]);
            if (getenv("QV_SELFCHECK")) {
                const Agreement self = Agree(TruthCounts(job, 0, job.height, 2 * TruthBits(job)), t, job);
                std::printf("  truth at twice the bits: exact=%s largest=%u\n", Percent(self.Share()).c_str(), self.largest);
            }
        }
        if (bla && !picture.empty())
            WritePicture(picture, job, run.pixels);
        std::fflush(stdout);
    }
    return 0;
}

int FindNucleusCommand(int argc, char** argv)
{
    if (argc < 7) {
        std::fprintf(stderr, "--find-nucleus TYPE RE IM RADIUS MAXPERIOD [STARTRE STARTIM]\n");
        return 2;
    }
    const int type = std::atoi(argv[2]);
    const PreciseParse re = ParsePrecise(argv[3]);
    const PreciseParse im = ParsePrecise(argv[4]);
    const long double radius = ExtentOf(argv[5]);
    const long bits = 3 * BitsForPixel(1, radius) + 128;
    const long double startRe = argc > 8 ? std::strtold(argv[7], nullptr) : 0;
    const long double startIm = argc > 8 ? std::strtold(argv[8], nullptr) : 0;
    const Nucleus n =
        FindNucleus(type, StartupEditedParams(), re.value, im.value, radius, std::atoi(argv[6]), bits, startRe, startIm);
    std::printf("period=%d converged=%s log10_size=%.2f bits=%ld\n", n.period, n.converged ? "yes" : "no", n.log10Size,
                bits);
    const long double fine = std::pow(10.0L, (long double)(std::min(n.log10Size, double(std::log10(radius))) - 6));
    std::printf("re=%s\nim=%s\n", FormatPrecise(n.re, fine).c_str(), FormatPrecise(n.im, fine).c_str());
    return n.converged ? 0 : 1;
}

int SwitchOverEvidence(int argc, char** argv)
{
    const int size = Argument(argc, argv, 2, 128);
    const DeepView places[] = {
        {"c = i", 1, "0", "1", 0, 2000, 0},
        {"c = -2", 1, "-2", "0", 0, 2000, 0},
        {"seahorse", 1, "-0.743643887037158704752191506114774", "0.131825904205311970493132056385139", 0, 4000, 0},
    };
    for (const DeepView& place : places)
        for (int e = 20; e <= 38; ++e) {
            DeepView v = place;
            v.extent = std::pow(10.0L, -e / 2.0L);
            if (place.limit > 2000 && e > 28)
                break;  // the seahorse point's pixels are all captured from there on
            const int side = place.limit > 2000 ? size / 2 : size;
            const DeepJob job = JobOfView(v, side, side);
            const std::vector<uint32_t> truth = TruthCounts(job, 0, job.height);
            int points = 0;
            const Agreement direct = Agree(DirectCounts(job, &points), truth, job);
            const Agreement deep = Agree(Counts(RunDeep(job, {}).pixels), truth, job);
            const bool resolved = DirectKernelsResolve(job.centreX.Rounded(), job.centreY.Rounded(), job.pitchX,
                                                       job.pitchY);
            std::printf("place=\"%s\" extent=%.2Le size=%dx%d pitch_over_unit=2^%.1f direct_resolves=%s "
                        "distinct_points=%d direct_exact=%s direct_largest=%u deep_exact=%s deep_largest=%u\n",
                        place.name.c_str(), v.extent, side, side,
                        double(std::log2(job.pitchX / std::ldexp(1.0L, std::ilogb(std::max(
                            {std::fabs(job.centreX.Rounded()), std::fabs(job.centreY.Rounded()), 1.0L})) - 63))),
                        resolved ? "yes" : "no", points, Percent(direct.Share()).c_str(), direct.largest,
                        Percent(deep.Share()).c_str(), deep.largest);
            std::fflush(stdout);
        }
    return 0;
}

int BenchDeep(int argc, char** argv)
{
    const int width = Argument(argc, argv, 2, 1600);
    const int height = Argument(argc, argv, 3, 1200);
    std::printf("cores=%u workers=%d\n", std::thread::hardware_concurrency(), RenderThreadCount());
    for (const DeepView& v : BenchDeepViews()) {
        for (bool bla : {true, false}) {
            // Without spans the long cases are timed on the same view with
            // fewer pixels: the rate of steps is what they show.
            const int shrink = bla ? 1 : std::max(v.side, 1);
            const DeepJob job = JobOfView(v, width / shrink, height / shrink);
            DeepSettings settings;
            settings.bla = bla;
            const DeepRun run = RunDeep(job, settings);
            const double steps = double(run.stats.pixelSteps);
            const double seconds = run.referenceSeconds + run.renderSeconds;
            std::printf("deep case=\"%s\" size=%dx%d limit=%u bla=%s bits=%ld reference_s=%.2f render_s=%.2f "
                        "total_s=%.2f cpu_s=%.2f pixel_steps=%.4g steps_per_s=%.4g exact_steps=%.4g spans=%.4g\n",
                        v.name.c_str(), job.width, job.height, v.limit, bla ? "on" : "off", run.bits,
                        run.referenceSeconds, run.renderSeconds, seconds, run.referenceCpu + run.renderCpu, steps,
                        steps / seconds, double(run.stats.exactSteps), double(run.stats.spans));
            std::fflush(stdout);
        }
    }
    return 0;
}

int FindMisiurewiczCommand(int argc, char** argv)
{
    if (argc < 8) {
        std::fprintf(stderr, "--find-misiurewicz TYPE RE IM MAXPREPERIOD MAXPERIOD DIGITS [DISTANCE]\n");
        return 2;
    }
    const int type = std::atoi(argv[2]);
    const PreciseParse re = ParsePrecise(argv[3]);
    const PreciseParse im = ParsePrecise(argv[4]);
    const long digits = std::atol(argv[7]);
    const long bits = long(double(digits) * 3.33) + 64;
    for (int q = 1; q <= std::atoi(argv[6]); ++q)
        for (int k = 1; k <= std::atoi(argv[5]); ++k) {
            const Nucleus m = FindMisiurewicz(type, StartupEditedParams(), re.value, im.value, k, q, bits);
            if (!m.converged)
                continue;
            const long double dx = m.re.Rounded() - re.value.Rounded();
            const long double dy = m.im.Rounded() - im.value.Rounded();
            std::printf("preperiod=%d period=%d distance=%.3Le\n", k, q, std::hypot(dx, dy));
            if (std::hypot(dx, dy) < (argc > 8 ? std::strtold(argv[8], nullptr) : 0.05L)) {
                const long double fine = std::pow(10.0L, -(long double)(digits));
                std::printf("re=%s\nim=%s\n", FormatPrecise(m.re, fine).c_str(), FormatPrecise(m.im, fine).c_str());
                return 0;
            }
        }
    return 1;
}
