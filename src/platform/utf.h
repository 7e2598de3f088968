// Conversions between the core's UTF-16 text and UTF-8, for the POSIX stand-ins and tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavo::platform {

// Unpaired surrogates become U+FFFD.
std::string to_utf8(std::u16string_view text);
// The UTF-8 of `text`, or nullopt when it holds an unpaired surrogate.
std::optional<std::string> to_utf8_exact(std::u16string_view text);
// Malformed sequences become U+FFFD, one per bad byte.
std::u16string from_utf8(std::string_view text);

}  // namespace tavo::platform
