#pragma once

// The converters' code linked into kestrova-batch, run in a frame's worker process instead of
// starting a converter program for every conversion (which costs more than a small frame's
// conversion: the FITS library alone loads dozens of shared libraries).

#include <optional>
#include <string>

namespace kestrova::batch {

// The exit code of the named converter run in this process; nothing for an unknown name.
std::optional<int> runConverterInProcess(const std::string& name);

}  // namespace kestrova::batch
