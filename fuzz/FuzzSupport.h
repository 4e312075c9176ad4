#pragma once

// Helpers shared by the fuzzing harnesses: a private scratch folder per harness process and
// the check that stops the run (so that libFuzzer keeps the input) when a property is broken.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fuzzing {

// A folder of its own for this process, created on first use and removed at exit.
const std::string& scratchFolder();
std::string scratchFile(const std::string& name);

void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size);
void writeFile(const std::string& path, const std::string& bytes);
// The whole file, or nothing when it cannot be read.
std::optional<std::string> readFile(const std::string& path);
// Names of the entries of a folder, sorted.
std::vector<std::string> folderEntries(const std::string& path);

// Aborts with `what` on standard error when `condition` is false.
void require(bool condition, const char* what);

}  // namespace fuzzing
