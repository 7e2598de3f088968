// UTF-8 and the core's UTF-16 text, the text of every POSIX stand-in; tests use it too.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavo::platform::posix {

// Unpaired surrogates become U+FFFD.
std::string to_utf8(std::u16string_view text);
// The UTF-8 of `text`, or nullopt when it holds an unpaired surrogate.
std::optional<std::string> to_utf8_exact(std::u16string_view text);
// Malformed sequences become U+FFFD, one per bad byte.
std::u16string from_utf8(std::string_view text);

// True when `a` and `b` are the same, ASCII letters matched in either case, as Windows matches
// names.
bool same_ignoring_case(std::string_view a, std::string_view b);

}  // namespace tavo::platform::posix
