#pragma once

// The failure texts shared by the six converters and the main program, indexed by exit code.

#include <array>
#include <optional>
#include <string_view>

namespace ksv {

inline constexpr int kConverterMessageCount = 51;

extern const std::array<std::string_view, kConverterMessageCount> ConverterMessageTable;

// The table text for an exit code, or nothing for a code outside 0 to 50.
std::optional<std::string_view> converterMessage(int exitCode);

}  // namespace ksv
