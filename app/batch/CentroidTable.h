#pragma once

// The centroid table of a run: CR LF lines, a header, then one line per frame that succeeded.

#include <string>
#include <string_view>

#include "BatchFrame.h"

namespace kestrova::batch {

inline constexpr std::string_view kCentroidHeader = "file,x,y,wavelength,area\r\n";

// A field as RFC 4180 writes it: quoted, inner quotes doubled, when it holds a comma, a quote or
// a line break.
std::string csvField(std::string_view text);

// "file,x,y,wavelength,area" of one frame: %.15G, %.15G, %.7G (empty in pixel units), digits.
std::string centroidTableLine(const std::string& image, const CentroidLine& line);

}  // namespace kestrova::batch
