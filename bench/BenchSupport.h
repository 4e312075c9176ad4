#pragma once

// What the benchmarks share: the wall time of one run, the median of repeated runs, a synthetic
// spectrum-like frame and a fresh folder for their files.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
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

// One pixel of a spectrum-like frame of width x height: a bright band 400 rows high across the
// middle over a sloping background, with some noise; `seed` steps a linear congruential generator.
inline double spectrumSample(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                             std::uint32_t& seed)
{
    seed = seed * 1664525u + 1013904223u;
    const double noise = static_cast<double>(seed >> 8) / 16777216.0;
    const double band = std::abs(y - height / 2) < 200 ? 0.6 : 0.0;
    return 0.1 + 0.2 * x / width + band + 0.1 * noise;
}

// A new private folder inside `parent`; "" (with the reason on standard error) when it cannot
// be made.
inline std::string temporaryFolder(const std::string& parent)
{
    std::string folder = parent + "/kestrova-bench-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr) {
        std::perror("mkdtemp");
        return {};
    }
    return folder;
}

}  // namespace bench
