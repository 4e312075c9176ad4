#pragma once

// Opening a file for reading only when it is a regular file: a FIFO, a device or a folder of
// that name fails at once instead of blocking or reading without end.

#include <cstdio>
#include <string>

namespace kestrova {

// A descriptor open for reading (blocking, close-on-exec), or -1. With followLinks false a
// symbolic link of that name fails too.
int openRegularFile(const std::string& path, bool followLinks = true);

// The same as a binary stream, or nullptr.
std::FILE* openRegularStream(const std::string& path);

}  // namespace kestrova
