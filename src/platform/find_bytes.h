// The system's own search for a run of bytes, for scanning large listings.
#pragma once

#include <cstddef>
#include <string_view>

namespace tavo::platform {

// The position of the first occurrence of `needle` in `haystack` at or after `from`, or npos.
// An empty needle occurs at `from` when from <= haystack.size().
std::size_t find_bytes(std::string_view haystack, std::string_view needle, std::size_t from);

}  // namespace tavo::platform
