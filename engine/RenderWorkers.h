#pragma once
// Worker threads that compute the escape counts of a picture block by block,
// 16 columns each, in order from the left, while the user-interface thread
// paints the blocks that are done.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/Iteration.h"
#include "engine/PlaneRegion.h"

inline constexpr int kColumnBlock = 16;

// Everything a render computes from, copied when it starts: the workers read
// nothing else, so the view, the parameters and the formula may change
// meanwhile without touching the picture in progress.
struct ScanFrame {
    PlaneRegion region;  // at the picture's size
    Iteration iteration;
};

// The most worker threads a render or a picture off screen takes.
inline constexpr int kMostRenderThreads = 64;

// QUORVEX_THREADS when it holds a positive number, else one per core.
int RenderThreadCount();

class BlockWorkers {
public:
    // Starts the workers at once; a frame without columns starts none.
    BlockWorkers(const ScanFrame& frame, int threadCount);
    // Stops the workers after their current column and joins them.
    ~BlockWorkers();
    BlockWorkers(const BlockWorkers&) = delete;
    BlockWorkers& operator=(const BlockWorkers&) = delete;

    // Returns once every column of the block is computed, calling whileWaiting
    // each time kWaitSlice passes without that.
    void WaitForBlock(int block, const std::function<void()>& whileWaiting);
    // Counts of rows 0..height-1 of a column of a block waited for; the
    // limit for captured points.
    const EscapeCount* Column(int x) const { return &counts_[size_t(x) * size_t(frame_.region.height)]; }
    // The ends of the escaped points' orbits in that column.
    const EscapeEnd* Ends(int x) const { return &ends_[size_t(x) * size_t(frame_.region.height)]; }

    static constexpr std::chrono::milliseconds kWaitSlice{15};

private:
    void Work();
    void ComputeBlock(int block);
    void Stop();

    const ScanFrame frame_;
    const int blockCount_;
    std::vector<long double> cy_;
    std::unique_ptr<EscapeCount[]> counts_;
    std::unique_ptr<EscapeEnd[]> ends_;

    std::mutex mutex_;
    std::condition_variable blockDone_;
    std::vector<bool> done_;  // guarded by mutex_
    int nextBlock_ = 0;       // guarded by mutex_
    std::atomic<bool> stopping_{false};
    std::vector<std::thread> threads_;
};
