#include "engine/JuliaPreview.h"

#include <algorithm>

#include "engine/ColumnKernels.h"

struct JuliaPreviewer::Job {
    Iteration what;
    PlaneRegion region;
    JuliaPreviewPicture picture;
    std::vector<long double> cy;
    std::atomic<int> nextColumn{0};
    std::atomic<int> doneColumns{0};
    std::atomic<bool> stale{false};
};

namespace {

std::vector<long double> RowPoints(const PlaneRegion& region)
{
    std::vector<long double> cy(size_t(region.height));
    for (int y = 0; y < region.height; ++y)
        cy[size_t(y)] = region.RenderIm(y);
    return cy;
}

void ComputeColumn(const Iteration& what, const PlaneRegion& region, const std::vector<long double>& cy, int x,
                   JuliaPreviewPicture& picture)
{
    IterateColumn(what, region.RenderRe(x), cy.data(), region.height, &picture.counts[size_t(x) * size_t(region.height)]);
}

}  // namespace

JuliaPreviewer::JuliaPreviewer(int threadCount, Finished finished) : finished_(std::move(finished))
{
    for (int i = 0; i < std::max(threadCount, 1); ++i)
        threads_.emplace_back([this] { Work(); });
}

JuliaPreviewer::~JuliaPreviewer()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        if (current_)
            current_->stale = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

uint64_t JuliaPreviewer::Request(const Iteration& what, const PlaneRegion& region)
{
    auto job = std::make_shared<Job>();
    job->what = what;
    job->region = region;
    job->cy = RowPoints(region);
    job->picture.width = region.width;
    job->picture.height = region.height;
    job->picture.limit = what.limit;
    job->picture.counts.assign(size_t(region.width) * size_t(region.height), 0);
    uint64_t ticket;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ticket = job->picture.ticket = ++tickets_;
        waiting_ = std::move(job);
    }
    wake_.notify_all();
    return ticket;
}

void JuliaPreviewer::Work()
{
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            const auto handsOut = [this] { return current_ && current_->nextColumn.load() < current_->region.width; };
            wake_.wait(lock, [&] { return stopping_ || handsOut() || waiting_; });
            if (stopping_)
                return;
            // The next picture starts once every column of this one is taken.
            if (!handsOut())
                current_ = std::move(waiting_);
            job = current_;
        }
        ComputeColumns(*job);
    }
}

void JuliaPreviewer::ComputeColumns(Job& job)
{
    const int width = job.region.width;
    for (;;) {
        if (job.stale.load())
            return;
        const int x = job.nextColumn.fetch_add(1);
        if (x >= width)
            return;
        ComputeColumn(job.what, job.region, job.cy, x, job.picture);
        // The worker that finishes the last column hands the picture over.
        if (job.doneColumns.fetch_add(1) + 1 == width && !job.stale.load())
            finished_(std::move(job.picture));
    }
}

JuliaPreviewPicture DrawJuliaPreview(const Iteration& what, const PlaneRegion& region)
{
    JuliaPreviewPicture picture;
    picture.width = region.width;
    picture.height = region.height;
    picture.limit = what.limit;
    picture.counts.assign(size_t(region.width) * size_t(region.height), 0);
    const std::vector<long double> cy = RowPoints(region);
    for (int x = 0; x < region.width; ++x)
        ComputeColumn(what, region, cy, x, picture);
    return picture;
}
