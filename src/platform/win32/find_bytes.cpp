// Byte search by Boyer-Moore-Horspool, since the C runtime of Windows has no memmem.
#include "platform/find_bytes.h"

#include <functional>

namespace tavo::platform {

std::size_t find_bytes(std::string_view haystack, std::string_view needle, std::size_t from) {
  if (from > haystack.size()) return std::string_view::npos;
  const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
  const auto hit = searcher(haystack.begin() + static_cast<std::ptrdiff_t>(from), haystack.end());
  if (hit.first == haystack.end() && !needle.empty()) return std::string_view::npos;
  return static_cast<std::size_t>(hit.first - haystack.begin());
}

}  // namespace tavo::platform
