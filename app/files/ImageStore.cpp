#include "ImageStore.h"

namespace kestrova {

BitmapInfoHeader BitmapInfoHeader::forPicture(std::int32_t width, std::int32_t height)
{
    BitmapInfoHeader header;
    header.width = width;
    header.height = height;
    header.imageSize = static_cast<std::uint32_t>(width) * 4u * static_cast<std::uint32_t>(height);
    return header;
}

std::array<unsigned char, 40> BitmapInfoHeader::bytes() const
{
    std::array<unsigned char, 40> b{};
    auto put = [&b](std::size_t at, std::uint32_t v, int size) {
        for (int i = 0; i < size; ++i)
            b[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(v >> (8 * i));
    };
    put(0, 40, 4);
    put(4, static_cast<std::uint32_t>(width), 4);
    put(8, static_cast<std::uint32_t>(height), 4);  // positive: rows stored bottom-up
    put(12, 1, 2);                                  // planes
    put(14, 32, 2);                                 // bits per pixel
    put(16, 0, 4);                                  // no compression
    put(20, imageSize, 4);
    return b;  // resolutions and colour counts stay 0
}

}  // namespace kestrova
