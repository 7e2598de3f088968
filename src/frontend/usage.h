// What tavo answers instead of converting: a short usage and its version.
#pragma once

#include <string>
#include <string_view>

namespace tavo {

// The project's version, as CMake's project() gives it.
inline constexpr std::string_view kVersion = TAVO_VERSION;

// The usage of `program` ("tavo" or "tavo.exe"): the switches with one example each, the lookup,
// where each result goes and the exit statuses. `answered` names the texts answered like this
// one, and `rest` where the rest is told. Lines end with `line_end`.
std::string usage(std::string_view program, std::string_view answered, std::string_view rest,
                  std::string_view line_end);

}  // namespace tavo
