#pragma once

// Splits a pixel loop in two halves, the second on its own thread, for large pictures.

#include <cstddef>
#include <system_error>
#include <thread>

namespace kestrova {

// Pictures below this many pixels are worked on one thread.
inline constexpr std::size_t kParallelFromPixels = std::size_t{1} << 18;

// Runs work(begin, end, part) over [0, count): once as (0, count, 0) for a small count, else
// as (0, half, 0) here and (half, count, 1) on a second thread (or here, when no thread can be
// started).
template <typename Work>
void forEachHalfOf(std::size_t count, const Work& work)
{
    if (count < kParallelFromPixels) {
        work(std::size_t{0}, count, 0);
        return;
    }
    const std::size_t half = count / 2;
    std::thread other;
    try {
        other = std::thread([&work, half, count] { work(half, count, 1); });
    } catch (const std::system_error&) {
        work(std::size_t{0}, half, 0);
        work(half, count, 1);
        return;
    }
    work(std::size_t{0}, half, 0);
    other.join();
}

}  // namespace kestrova
