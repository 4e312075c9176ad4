#pragma once

// A walk over the header units of a FITS file that reads their headers only, without the FITS
// library: moving onto a unit makes the library interpret a tile-compressed image's header, and a
// damaged one stops the process (division by zero, stray memory access) instead of failing.

#include <cstdint>
#include <cstdio>
#include <optional>

namespace ksv {

inline constexpr std::size_t kFitsBlockBytes = 2880;
inline constexpr std::size_t kFitsCardBytes = 80;

// One header unit as its header describes it.
struct FitsUnit {
    bool isImage = false;            // the primary unit or an IMAGE extension
    bool isCompressedImage = false;  // a table holding a tile-compressed image (ZIMAGE = T)
    long long naxis = 0;
    std::uint64_t headerBytes = 0;  // whole blocks up to and including the END card
    std::uint64_t dataBytes = 0;    // whole blocks; kUnknownSize when nonsensical or past the end
};

inline constexpr std::uint64_t kUnknownSize = ~std::uint64_t{0};

// Reads the header that starts at the file's current position; `available` is the number of
// bytes from there to the end of the file. Nothing when the header cannot be read, has no END
// card, or holds a size that is not a number.
std::optional<FitsUnit> readFitsUnit(std::FILE* file, std::uint64_t available);

struct FirstImage {
    int unit = 0;             // 1-based number of the first unit with a non-empty image; 0 when none
    bool compressed = false;  // a tile-compressed image comes first
};

// Behind a primary unit without data: the first extension that holds a non-empty image, or a
// tile-compressed image met before it. The walk stops at the end of the file or at the first
// header that cannot be read.
FirstImage findImageBehindEmptyPrimary(std::FILE* file, std::uint64_t fileBytes);

}  // namespace ksv
