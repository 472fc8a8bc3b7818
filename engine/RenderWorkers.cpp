#include "engine/RenderWorkers.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "engine/ColumnKernels.h"

namespace {

// The rows' points by the render's rule.
std::vector<long double> RowPoints(const PlaneRegion& r)
{
    std::vector<long double> cy(size_t(std::max(r.height, 0)));
    for (int y = 0; y < r.height; ++y)
        cy[size_t(y)] = r.RenderIm(y);
    return cy;
}

int Columns(const ScanFrame& frame) { return std::max(frame.region.width, 0); }

}  // namespace

int RenderThreadCount()
{
    if (const char* text = std::getenv("QUORVEX_THREADS")) {
        char* end = nullptr;
        const long n = std::strtol(text, &end, 10);
        if (end != text && *end == '\0' && n > 0)
            return int(std::min<long>(n, kMostRenderThreads));
    }
    return int(std::clamp(std::thread::hardware_concurrency(), 1u, unsigned(kMostRenderThreads)));
}

BlockWorkers::BlockWorkers(const ScanFrame& frame, int threadCount)
    : frame_(frame),
      blockCount_(Columns(frame) / kColumnBlock + (Columns(frame) % kColumnBlock != 0)),
      cy_(RowPoints(frame.region)),
      counts_(new EscapeCount[size_t(Columns(frame)) * size_t(std::max(frame.region.height, 0))]),
      ends_(new EscapeEnd[size_t(Columns(frame)) * size_t(std::max(frame.region.height, 0))]),
      done_(size_t(blockCount_), false)
{
    const int n = std::min(threadCount, blockCount_);
    try {
        for (int i = 0; i < n; ++i)
            threads_.emplace_back(&BlockWorkers::Work, this);
    } catch (const std::system_error&) {
        // Fewer workers, or none: WaitForBlock then computes on its own.
    }
}

BlockWorkers::~BlockWorkers() { Stop(); }

void BlockWorkers::Stop()
{
    stopping_ = true;
    for (std::thread& t : threads_)
        t.join();
    threads_.clear();
}

void BlockWorkers::Work()
{
    for (;;) {
        int block;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (nextBlock_ == blockCount_)
                return;
            block = nextBlock_++;
        }
        ComputeBlock(block);
        if (stopping_)
            return;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_[size_t(block)] = true;
        }
        blockDone_.notify_all();
    }
}

void BlockWorkers::ComputeBlock(int block)
{
    const PlaneRegion& r = frame_.region;
    const int first = block * kColumnBlock;
    const int end = std::min(r.width, first + kColumnBlock);
    for (int x = first; x < end && !stopping_; ++x) {
        const size_t column = size_t(x) * size_t(r.height);
        IterateColumn(frame_.iteration, r.RenderRe(x), cy_.data(), r.height, &counts_[column], &ends_[column]);
    }
}

void BlockWorkers::WaitForBlock(int block, const std::function<void()>& whileWaiting)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (threads_.empty() && !done_[size_t(block)]) {
        lock.unlock();
        ComputeBlock(block);
        lock.lock();
        done_[size_t(block)] = true;
    }
    while (!blockDone_.wait_for(lock, kWaitSlice, [&] { return bool(done_[size_t(block)]); })) {
        lock.unlock();
        whileWaiting();
        lock.lock();
    }
}
