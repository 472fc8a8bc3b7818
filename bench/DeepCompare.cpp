#include "DeepCompare.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "DeepViews.h"
#include "Stopwatch.h"
#include "engine/RenderWorkers.h"

namespace {

const std::atomic<bool> kNoCancel{false};

struct LoopRun {
    std::vector<DeepPixel> pixels;
    DeepStats stats;
    double seconds = 0;
};

// The picture with one loop, the orbits computed before the clock starts.
LoopRun Draw(const DeepJob& job, DeepSettings settings, DeepLoop loop)
{
    settings.loop = loop;
    DeepRenderer renderer(job, settings);
    LoopRun run;
    run.pixels.resize(size_t(job.width) * size_t(job.height));
    renderer.Prepare(kNoCancel);
    run.seconds = SecondsOf([&] { renderer.RenderRows(0, job.height, run.pixels.data(), kNoCancel); });
    run.stats = renderer.Stats();
    return run;
}

bool SamePixel(const DeepPixel& a, const DeepPixel& b)
{
    return a.count == b.count && std::memcmp(&a.lastNorm, &b.lastNorm, sizeof a.lastNorm) == 0 &&
           std::memcmp(&a.previousNorm, &b.previousNorm, sizeof a.previousNorm) == 0;
}

bool SameStats(const DeepStats& a, const DeepStats& b)
{
    return a.pixelSteps == b.pixelSteps && a.exactSteps == b.exactSteps && a.spanSteps == b.spanSteps &&
           a.spans == b.spans && a.rebases == b.rebases;
}

long Differing(const LoopRun& reference, const LoopRun& other)
{
    long n = 0;
    for (size_t i = 0; i < reference.pixels.size(); ++i)
        n += !SamePixel(reference.pixels[i], other.pixels[i]);
    return n;
}

bool Compare(const DeepView& v, int width, int height, bool bla)
{
    const DeepJob job = JobOfView(v, width, height);
    DeepSettings settings;
    settings.bla = bla;
    const DeepLoopComparison c = CompareDeepLoops(job, settings);
    std::printf("compare-deep view=\"%s\" type=%d extent=%.3Le size=%dx%d limit=%u bla=%s single_s=%.3f paired_s=%.3f "
                "plain_s=%.3f ratio=%.2f pixel_steps=%.4g exact_steps=%.4g differing=%ld identical=%s\n",
                v.name.c_str(), v.type, v.extent, width, height, v.limit, bla ? "on" : "off", c.singleSeconds,
                c.pairedSeconds, c.plainSeconds, c.singleSeconds / c.pairedSeconds, double(c.stats.pixelSteps),
                double(c.stats.exactSteps), c.differing, c.identical ? "yes" : "no");
    std::fflush(stdout);
    return c.identical;
}

}  // namespace

DeepLoopComparison CompareDeepLoops(const DeepJob& job, DeepSettings settings)
{
    const LoopRun single = Draw(job, settings, DeepLoop::Single);
    const LoopRun paired = Draw(job, settings, DeepLoop::Paired);
    const LoopRun plain = Draw(job, settings, DeepLoop::PairedPlain);
    DeepLoopComparison c;
    c.differing = std::max(Differing(single, paired), Differing(single, plain));
    c.identical = c.differing == 0 && SameStats(single.stats, paired.stats) && SameStats(single.stats, plain.stats);
    c.singleSeconds = single.seconds;
    c.pairedSeconds = paired.seconds;
    c.plainSeconds = plain.seconds;
    c.stats = single.stats;
    return c;
}

int CompareDeep(int argc, char** argv)
{
    const int width = argc > 3 ? std::atoi(argv[2]) : 400;
    const int height = argc > 3 ? std::atoi(argv[3]) : 300;
    std::printf("cores=%u workers=%d\n", std::thread::hardware_concurrency(), RenderThreadCount());
    bool identical = true;
    for (const DeepView& v : VerifyDeepViews())
        for (bool bla : {true, false})
            identical = Compare(v, v.side, v.side, bla) && identical;
    for (const DeepView& v : BenchDeepViews())
        identical = Compare(v, width, height, true) && identical;
    std::printf("compare-deep identical=%s\n", identical ? "yes" : "no");
    return identical ? 0 : 1;
}
