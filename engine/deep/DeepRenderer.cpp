#include "engine/deep/DeepRenderer.h"

#include <algorithm>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <type_traits>
#include <vector>

#include "engine/RenderWorkers.h"
#include "engine/deep/DeepPairedPixels.h"

namespace {

using deep_pixels::PairedPixels;
using deep_pixels::PixelOrbit;
using deep_pixels::PixelTask;

constexpr int kCancelEveryPixels = 16;

void Add(DeepStats& total, const DeepStats& part)
{
    total.pixelSteps += part.pixelSteps;
    total.exactSteps += part.exactSteps;
    total.spanSteps += part.spanSteps;
    total.spans += part.spans;
    total.rebases += part.rebases;
}

// Rows of a picture that threads take one at a time.
struct Band {
    Band(const DeepJob& job, int first, int end, DeepPixel* out, const std::atomic<bool>& cancel,
         DeepProgress* progress)
        : job(job), first(first), end(end), out(out), cancel(cancel), progress(progress), next(first)
    {
        for (int x = 0; x < job.width; ++x)
            columns.push_back(PixelOffset(x, job.width, job.pitchX));
    }

    const DeepJob& job;
    const int first, end;
    DeepPixel* const out;
    const std::atomic<bool>& cancel;
    DeepProgress* const progress;
    std::vector<long double> columns;  // each column's offset from the centre
    std::atomic<int> next;
};

// Draws rows of the band one pixel after the other until none is left or
// cancel is set.
template <typename Formula>
void DrawRows(const PixelOrbit<Formula>& pixels, Band& band, DeepStats& stats)
{
    const DeepJob& job = band.job;
    for (int y; (y = band.next++) < band.end && !band.cancel.load(std::memory_order_relaxed);) {
        const long double dy = PixelOffset(y, job.height, job.pitchY);
        DeepPixel* row = band.out + size_t(y - band.first) * size_t(job.width);
        int x = 0;
        for (; x < job.width; ++x) {
            if (x % kCancelEveryPixels == 0 && band.cancel.load(std::memory_order_relaxed))
                break;
            row[x] = pixels.Run({band.columns[size_t(x)], dy}, stats);
        }
        if (band.progress && x == job.width)
            ++band.progress->rowsDone;
    }
}

// The pixels of the band's rows, a row taken at a time, for a thread that
// draws them two at a time; a row counts as done when its last pixel is.
class PixelFeed {
public:
    explicit PixelFeed(Band& band) : band_(band), x_(band.job.width) {}

    bool Next(PixelTask& task)
    {
        const DeepJob& job = band_.job;
        if (x_ == job.width && !TakeRow())
            return false;
        if (x_ % kCancelEveryPixels == 0 && band_.cancel.load(std::memory_order_relaxed)) {
            stopped_ = true;
            return false;
        }
        task.dc = {band_.columns[size_t(x_)], dy_};
        task.out = band_.out + size_t(y_ - band_.first) * size_t(job.width) + size_t(x_);
        task.row = y_;
        ++x_;
        return true;
    }
    bool Stopped() const { return stopped_; }
    void Done(const PixelTask& task)
    {
        auto row = std::find_if(rows_.begin(), rows_.end(), [&](const RowLeft& r) { return r.y == task.row; });
        if (--row->left == 0) {
            rows_.erase(row);
            if (band_.progress)
                ++band_.progress->rowsDone;
        }
    }

private:
    bool TakeRow()
    {
        const int y = band_.next++;
        if (y >= band_.end || band_.cancel.load(std::memory_order_relaxed)) {
            stopped_ = stopped_ || y < band_.end;
            return false;
        }
        y_ = y;
        x_ = 0;
        dy_ = PixelOffset(y, band_.job.height, band_.job.pitchY);
        rows_.push_back({y, band_.job.width});
        return true;
    }

    struct RowLeft {
        int y;
        int left;  // pixels not yet written
    };

    Band& band_;
    int x_;
    int y_ = 0;
    long double dy_ = 0;
    bool stopped_ = false;
    std::vector<RowLeft> rows_;
};

// Draws rows of the band two pixels at a time until none is left or cancel is set.
template <typename Formula>
void DrawPairedRows(const PixelOrbit<Formula>& pixels, const Formula& formula, const DeepRenderer::Orbits& orbits,
                    const DeepJob& job, bool spans, bool assembly, Band& band, DeepStats& stats)
{
    const PairedPixels<Formula> paired(pixels, formula, orbits, job.limit, spans);
    PixelFeed feed(band);
    if constexpr (std::is_same_v<Formula, deep_steps::Square>) {
        if (assembly) {
            paired.Draw(feed, [](DeepPair& pair) { return quorvex_run_deep_pair(&pair); }, stats);
            return;
        }
    }
    paired.Draw(feed, [&](DeepPair& pair) { return RunDeepPair(pair, formula); }, stats);
}

// Runs work on this thread and up to threads - 1 more (no more than rows).
void OnThreads(int threads, int rows, const std::function<void()>& work)
{
    std::vector<std::thread> helpers;
    try {
        for (int i = 1; i < std::min(threads, rows); ++i)
            helpers.emplace_back(work);
    } catch (const std::system_error&) {
        // Fewer helpers, or none: this thread takes the rows that are left.
    }
    work();
    for (std::thread& t : helpers)
        t.join();
}

}  // namespace

DeepRenderer::DeepRenderer(const DeepJob& job, const DeepSettings& settings)
    : job_(job), settings_(settings), fault_(CheckDeepJob(job))
{
    if (fault_ == DeepFault::None)
        bits_ = ReferenceBits(job_);
}

DeepRenderer::~DeepRenderer() = default;

bool DeepRenderer::Prepare(const std::atomic<bool>& cancel, DeepProgress* progress)
{
    if (fault_ != DeepFault::None)
        return false;
    if (orbits_)
        return true;
    auto orbits = std::make_unique<Orbits>();
    orbits->starts.push_back({});
    if (job_.type == 4 && settings_.criticalOrbits)
        for (const DeepComplex& point : QuarticCriticalPoints(job_.params))
            orbits->starts.push_back(point);
    const long double largestDc = Modulus(
        {PixelOffset(0, job_.width, job_.pitchX), PixelOffset(0, job_.height, job_.pitchY)});
    for (const DeepComplex& start : orbits->starts) {
        ReferenceOrbit orbit;
        if (!ComputeReferenceOrbit(job_, start, bits_, orbit, cancel, progress ? &progress->referenceSteps : nullptr))
            return false;
        if (settings_.bla)
            orbits->tables.push_back(WithDeepFormula(job_.type, job_.params, [&](const auto& formula) {
                return BlaTable(orbit, formula, largestDc);
            }));
        orbits->gates.push_back(DeepGates(settings_.bla ? &orbits->tables.back() : nullptr, orbit.points.size()));
        orbits->orbits.push_back(std::move(orbit));
    }
    orbits_ = std::move(orbits);
    return true;
}

bool DeepRenderer::RenderRows(int first, int count, DeepPixel* out, const std::atomic<bool>& cancel,
                              DeepProgress* progress)
{
    if (first < 0 || count < 0 || first + count > job_.height || !Prepare(cancel, progress))
        return false;
    Band band{job_, first, first + count, out, cancel, progress};
    std::mutex statsMutex;
    WithDeepFormula(job_.type, job_.params, [&](const auto& formula) {
        const PixelOrbit pixels(formula, *orbits_, job_.limit, settings_.bla);
        OnThreads(settings_.threads > 0 ? settings_.threads : RenderThreadCount(), count, [&] {
            DeepStats stats;
            if (settings_.loop == DeepLoop::Single)
                DrawRows(pixels, band, stats);
            else
                DrawPairedRows(pixels, formula, *orbits_, job_, settings_.bla, settings_.loop == DeepLoop::Paired,
                               band, stats);
            std::lock_guard<std::mutex> lock(statsMutex);
            Add(stats_, stats);
        });
    });
    return !cancel.load();
}

size_t DeepRenderer::OrbitPoints() const
{
    size_t n = 0;
    if (orbits_)
        for (const ReferenceOrbit& o : orbits_->orbits)
            n += o.points.size();
    return n;
}

size_t DeepRenderer::TableSpans() const
{
    size_t n = 0;
    if (orbits_)
        for (const BlaTable& t : orbits_->tables)
            n += t.Spans();
    return n;
}
