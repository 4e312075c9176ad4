#pragma once

// Values files: the numbers a plot window shows, as comma-separated text that other programs
// read. One line per plotted column (row, bin): the position, ",", the value, CR LF; no header;
// "." as decimal point whatever the locale; integers as plain digits, doubles as C's "%.15G"
// and singles as "%.7G".

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Messages.h"
#include "gDataProjection.h"

namespace kestrova {

inline constexpr const char* kValuesWriteFailed = "Error - when writing values file";

// The lines of a projection: the column (row) number, or the column's wavelength when
// `wavelengths` is given (entry x - 1 for column x), then its mean or sum.
std::string ProjectionValuesText(const Projection& projection, bool mean, const std::vector<float>* wavelengths);

// The lines of integer pairs, such as the bins and counts of a histogram.
std::string CountValuesText(std::int32_t firstPosition, const std::vector<std::int32_t>& counts);

// True when the file name of `path` has more than its extension and the extension is ".csv" in
// any letter case: the only names a values file is saved under.
bool IsValuesFileName(std::string_view path);

// Writes `text` as the whole file at `path`, replacing an earlier file only once complete. On
// failure adds kValuesWriteFailed and leaves any earlier file as it was.
bool WriteValuesFile(const std::string& path, std::string_view text, Messages& messages);

}  // namespace kestrova
