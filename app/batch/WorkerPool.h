#pragma once

// The worker processes of a batch run. Each worker is forked once and takes frames one after
// another, so that its memory and the converters' set-up serve many frames; a frame's result
// comes back through a pipe. A worker that dies fails its frame only, and another takes its place.

#include <csignal>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "BatchFrame.h"
#include "BatchOptions.h"

namespace kestrova::batch {

inline constexpr const char* kWorkerEnded = "Error - the analysis of this frame ended abnormally";

struct FrameEvents {
    std::function<void(std::size_t frame)> started;
    std::function<void(std::size_t frame, const FrameResult& result)> finished;
};

// Runs every frame of `options` on up to `jobs` workers, each frame in its own folder inside
// `workRoot`; results in command-line order. Stops early (ending the workers) once `stop` is set.
std::vector<FrameResult> runFrames(const FrameSettings& shared, const std::string& workRoot,
                                   const BatchOptions& options, std::size_t jobs, const FrameEvents& events,
                                   const volatile std::sig_atomic_t& stop);

}  // namespace kestrova::batch
