#pragma once
// Small pictures of Julia sets drawn on worker threads while the pointer
// moves: the picture under way is finished, and of the requests that came
// meanwhile only the newest is drawn next; the others are dropped. The
// counts are IterateColumn's, the same kernels as every picture.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/Iteration.h"
#include "engine/PlaneRegion.h"

struct JuliaPreviewPicture {
    uint64_t ticket = 0;  // the request's, counting from 1
    int width = 0;
    int height = 0;
    int limit = 0;
    std::vector<EscapeCount> counts;  // column-major
    EscapeCount Count(int x, int y) const { return counts[size_t(x) * size_t(height) + size_t(y)]; }
};

class JuliaPreviewer {
public:
    // Called on a worker thread with each finished picture.
    using Finished = std::function<void(JuliaPreviewPicture&&)>;
    JuliaPreviewer(int threadCount, Finished finished);
    // Stops the picture under way at its next column and joins the workers.
    ~JuliaPreviewer();
    JuliaPreviewer(const JuliaPreviewer&) = delete;
    JuliaPreviewer& operator=(const JuliaPreviewer&) = delete;

    // The picture of the region (at its size) for `what`; returns its ticket.
    uint64_t Request(const Iteration& what, const PlaneRegion& region);

private:
    struct Job;
    void Work();
    void ComputeColumns(Job& job);

    Finished finished_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::shared_ptr<Job> current_;  // guarded by mutex_: the picture under way
    std::shared_ptr<Job> waiting_;  // guarded by mutex_: the newest request
    uint64_t tickets_ = 0;          // guarded by mutex_
    bool stopping_ = false;         // guarded by mutex_
    std::vector<std::thread> threads_;
};

// Counts of the region for `what` computed on this thread, column by column:
// what a preview shows, for the benchmark and the tests.
JuliaPreviewPicture DrawJuliaPreview(const Iteration& what, const PlaneRegion& region);
