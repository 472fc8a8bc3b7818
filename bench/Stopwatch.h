#pragma once

#include <chrono>
#include <ctime>
#include <functional>

// Wall-clock seconds the work takes.
inline double SecondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Processor seconds the calling thread has used so far.
inline double ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Wall-clock seconds of a render, and the processor seconds the calling
// (user-interface) thread spent in it.
struct RenderTimes {
    double seconds = 0.0;
    double uiCpuSeconds = 0.0;
};

inline RenderTimes TimesOf(const std::function<void()>& work)
{
    const double cpuStart = ThreadCpuSeconds();
    const double seconds = SecondsOf(work);
    return {seconds, ThreadCpuSeconds() - cpuStart};
}
