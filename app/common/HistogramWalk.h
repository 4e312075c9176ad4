#pragma once

// The threshold walk over a histogram of any number of bins: from the bottom until a lower
// target of pixels is passed, from the top until an upper target is. Both walks count by the
// trapezoid rule (half of the end bin, then the mean of each pair of neighbouring bins) and
// keep the count in exact halves: rounding it at every step would lose the half of every lone
// pixel in a sparse histogram, and a walk over such bins would never reach its target. Each
// walk stops at the far end bin, so an unreachable target cannot run off the histogram.

#include <array>
#include <cstddef>
#include <cstdint>

namespace kestrova {

struct WalkedBins {
    int lower = 0;
    int upper = 0;
};

// The walks' bins; when they meet or cross they collapse to the full range 0 .. Bins - 1.
template <typename Count, std::size_t Bins>
WalkedBins walkHistogramBins(const std::array<Count, Bins>& h, std::int64_t lowerTarget, std::int64_t upperTarget)
{
    static_assert(Bins >= 2);
    constexpr int last = static_cast<int>(Bins) - 1;
    const auto at = [&h](int bin) { return static_cast<std::int64_t>(h[static_cast<std::size_t>(bin)]); };

    int i = 0;
    std::int64_t twiceCount = at(0);
    while (twiceCount < 2 * lowerTarget && i < last) {
        ++i;
        twiceCount += at(i - 1) + at(i);
    }
    int j = last;
    twiceCount = at(last);
    while (twiceCount < 2 * upperTarget && j > 0) {
        --j;
        twiceCount += at(j + 1) + at(j);
    }
    if (i >= j)
        return {0, last};
    return {i, j};
}

}  // namespace kestrova
