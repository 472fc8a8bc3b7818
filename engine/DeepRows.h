#pragma once
// A deep view's picture drawn on a thread of its own, band after band of
// rows from the top, each band on every core, while the user-interface
// thread paints the bands that are done and handles messages.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/deep/DeepRenderer.h"

class DeepRows {
public:
    // Starts at once; threads 0 for one a core.
    DeepRows(const DeepJob& job, int bandRows, int threads);
    // Stops the render at its next pixels and joins it.
    ~DeepRows();
    DeepRows(const DeepRows&) = delete;
    DeepRows& operator=(const DeepRows&) = delete;

    int Bands() const { return bands_; }
    int BandRows() const { return bandRows_; }
    // Waits until the band is done, calling whileWaiting each time kWaitSlice
    // passes without that; false once the render stopped before it (a cancel
    // or a job refused).
    bool WaitForBand(int band, const std::function<void()>& whileWaiting);
    void Cancel() { cancel_ = true; }
    // Pixels of a row of a band waited for.
    const DeepPixel* Row(int y) const { return &pixels_[size_t(y) * size_t(width_)]; }
    // Rows done so far, for the progress bar.
    int RowsDone() const { return progress_.rowsDone.load(); }

private:
    void Work();

    DeepRenderer renderer_;
    const int width_;
    const int height_;
    const int bandRows_;
    const int bands_;
    std::vector<DeepPixel> pixels_;
    std::atomic<bool> cancel_{false};
    DeepProgress progress_;
    std::mutex mutex_;
    std::condition_variable bandDone_;
    int bandsDone_ = 0;     // guarded by mutex_
    bool finished_ = false;  // guarded by mutex_: no more bands come
    std::thread thread_;
};
