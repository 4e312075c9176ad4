#pragma once

// Pixel-sized buffers (up to 100 MB) are given memory in large pages where the system offers
// them: one fault maps 2 MB instead of 4 KB, which makes filling a fresh buffer many times
// faster.

#include <cstddef>
#include <vector>

namespace kestrova {

// Asks for large pages on the whole 2 MB blocks inside [data, data + bytes). Harmless where
// the system has none.
void adviseLargePages(void* data, std::size_t bytes);

// Resizes to `count` elements. When the buffer must grow, the earlier content is dropped and
// the new memory is advised before it is first touched; the elements then read as zero.
template <typename T>
void resizeLargeBuffer(std::vector<T>& buffer, std::size_t count)
{
    if (count > buffer.capacity()) {
        std::vector<T> fresh;
        fresh.reserve(count);
        adviseLargePages(fresh.data(), count * sizeof(T));
        buffer.swap(fresh);
    }
    buffer.resize(count);
}

}  // namespace kestrova
