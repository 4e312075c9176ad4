#pragma once

// The benchmarks' timing: the wall time of one run, and the median of repeated runs.

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace bench {

// The middle of the sorted times (the upper of the two middle ones for an even count).
inline double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline double seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double milliseconds(const std::function<void()>& work)
{
    return 1000.0 * seconds(work);
}

inline double medianSeconds(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(seconds(work));
    return median(std::move(times));
}

inline double medianMilliseconds(int runs, const std::function<void()>& work)
{
    return 1000.0 * medianSeconds(runs, work);
}

}  // namespace bench
