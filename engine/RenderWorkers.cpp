#include "engine/RenderWorkers.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "engine/ColumnKernels.h"

namespace {

constexpr int kMostThreads = 64;

std::vector<long double> RowPoints(const ScanFrame& f)
{
    const long double halfH = f.height / 2.0L;
    std::vector<long double> cy(size_t(std::max(f.height, 0)));
    for (int y = 0; y < f.height; ++y)
        cy[y] = (y - halfH) * f.extentY / f.height + f.centreY;
    return cy;
}

}  // namespace

int RenderThreadCount()
{
    if (const char* text = std::getenv("QUORVEX_THREADS")) {
        char* end = nullptr;
        const long n = std::strtol(text, &end, 10);
        if (end != text && *end == '\0' && n > 0)
            return int(std::min<long>(n, kMostThreads));
    }
    return int(std::clamp(std::thread::hardware_concurrency(), 1u, unsigned(kMostThreads)));
}

BlockWorkers::BlockWorkers(const ScanFrame& frame, int threadCount)
    : frame_(frame),
      blockCount_(std::max(frame.width, 0) / kColumnBlock + (std::max(frame.width, 0) % kColumnBlock != 0)),
      cy_(RowPoints(frame)),
      counts_(new EscapeCount[size_t(std::max(frame.width, 0)) * size_t(std::max(frame.height, 0))]),
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
    const long double halfW = frame_.width / 2.0L;
    const int first = block * kColumnBlock;
    const int end = std::min(frame_.width, first + kColumnBlock);
    for (int x = first; x < end && !stopping_; ++x) {
        const long double cx = (x - halfW) * frame_.extentX / frame_.width + frame_.centreX;
        IterateColumn(frame_.type, cx, cy_.data(), frame_.height, frame_.params,
                      &counts_[size_t(x) * frame_.height]);
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
