#include "JuliaBench.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "engine/Formulas.h"
#include "engine/JuliaPreview.h"
#include "engine/JuliaTable.h"

namespace {

constexpr int kSide = 160;
constexpr int kThreads = 2;

using Clock = std::chrono::steady_clock;

struct Path {
    const char* name;
    PlanePoint (*at)(double t);
};

// A circle of radius 0.7 about -0.5: outside, across the edge and inside.
PlanePoint Circle(double t) { return PlanePoint{-0.5L + 0.7L * std::cos(t), 0.7L * std::sin(t)}; }
// The main cardioid's edge, where the orbits settle slowest.
PlanePoint CardioidEdge(double t)
{
    return PlanePoint{std::cos(t) / 2 - std::cos(2 * t) / 4, std::sin(t) / 2 - std::sin(2 * t) / 4};
}

Iteration PreviewOf(PlanePoint c) { return Iteration{1, StartupEditedParams(), 256, JuliaPoint::At(c.re, c.im)}; }

// Previews finished a second when each waits for the one before.
double BackToBack(const Path& path, double seconds)
{
    std::mutex mutex;
    std::condition_variable done;
    uint64_t finished = 0;
    JuliaPreviewer previewer(kThreads, [&](JuliaPreviewPicture&& p) {
        std::lock_guard<std::mutex> lock(mutex);
        finished = p.ticket;
        done.notify_all();
    });
    const PlaneRegion region = JuliaWholeRegion(1, StartupEditedParams(), PictureSize{kSide, kSide});
    const Clock::time_point start = Clock::now();
    int count = 0;
    for (double t = 0; std::chrono::duration<double>(Clock::now() - start).count() < seconds; t += 0.01, ++count) {
        const uint64_t ticket = previewer.Request(PreviewOf(path.at(t)), region);
        std::unique_lock<std::mutex> lock(mutex);
        done.wait(lock, [&] { return finished == ticket; });
    }
    return count / std::chrono::duration<double>(Clock::now() - start).count();
}

// Previews shown a second while the pointer moves every 5 ms, each request
// dropping the one before.
double WithPointer(const Path& path, double seconds)
{
    std::atomic<int> shown{0};
    JuliaPreviewer previewer(kThreads, [&](JuliaPreviewPicture&&) { ++shown; });
    const PlaneRegion region = JuliaWholeRegion(1, StartupEditedParams(), PictureSize{kSide, kSide});
    const Clock::time_point start = Clock::now();
    for (double t = 0; std::chrono::duration<double>(Clock::now() - start).count() < seconds; t += 0.005) {
        previewer.Request(PreviewOf(path.at(t)), region);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return shown.load() / std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int BenchJuliaPreview(int argc, char** argv)
{
    const double seconds = argc > 2 ? std::atof(argv[2]) : 3.0;
    const Path paths[] = {{"circle", Circle}, {"cardioid-edge", CardioidEdge}};
    for (const Path& path : paths)
        std::printf("julia-preview path=%s size=%dx%d threads=%d limit=256 back_to_back_per_s=%.1f "
                    "pointer_200hz_shown_per_s=%.1f\n",
                    path.name, kSide, kSide, kThreads, BackToBack(path, seconds), WithPointer(path, seconds));
    return 0;
}
