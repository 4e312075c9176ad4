#pragma once

// A whole batch run: the checks made before any frame, the frames run in worker processes up to
// the number of jobs (each in its own folder inside the private work folder), the messages and
// progress line on standard error, and the centroid table.

#include <string>
#include <vector>

namespace kestrova::batch {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFrameFailed = 1;
inline constexpr int kExitUsage = 2;

// The program's whole run on its arguments (without the program name); returns the exit status.
int RunBatch(const std::vector<std::string>& arguments);

}  // namespace kestrova::batch
