#pragma once

// A frame's result as its worker process hands it back through a pipe.

#include <optional>
#include <string>

#include "BatchFrame.h"

namespace kestrova::batch {

// Exact: the numbers travel in hexadecimal floating point, the messages with their lengths.
std::string encodeResult(const FrameResult& result);
std::optional<FrameResult> decodeResult(const std::string& bytes);

// Writes every byte, resuming after partial writes and interruptions.
bool writeAll(int fd, const std::string& bytes);

}  // namespace kestrova::batch
