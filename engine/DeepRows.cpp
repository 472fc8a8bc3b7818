#include "engine/DeepRows.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr std::chrono::milliseconds kWaitSlice{15};

DeepSettings SettingsWith(int threads)
{
    DeepSettings settings;
    settings.threads = threads;
    return settings;
}

}  // namespace

DeepRows::DeepRows(const DeepJob& job, int bandRows, int threads)
    : renderer_(job, SettingsWith(threads)),
      width_(job.width),
      height_(job.height),
      bandRows_(std::max(bandRows, 1)),
      bands_((job.height + bandRows_ - 1) / bandRows_),
      pixels_(size_t(std::max(job.width, 0)) * size_t(std::max(job.height, 0)))
{
    thread_ = std::thread([this] { Work(); });
}

DeepRows::~DeepRows()
{
    cancel_ = true;
    thread_.join();
}

void DeepRows::Work()
{
    for (int band = 0; band < bands_; ++band) {
        const int first = band * bandRows_;
        const int count = std::min(bandRows_, height_ - first);
        if (!renderer_.RenderRows(first, count, &pixels_[size_t(first) * size_t(width_)], cancel_, &progress_))
            break;
        const std::lock_guard<std::mutex> lock(mutex_);
        bandsDone_ = band + 1;
        bandDone_.notify_all();
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
    bandDone_.notify_all();
}

bool DeepRows::WaitForBand(int band, const std::function<void()>& whileWaiting)
{
    std::unique_lock<std::mutex> lock(mutex_);
    while (bandsDone_ <= band && !finished_) {
        if (!bandDone_.wait_for(lock, kWaitSlice, [&] { return bandsDone_ > band || finished_; })) {
            lock.unlock();
            whileWaiting();
            lock.lock();
        }
    }
    return bandsDone_ > band;
}
