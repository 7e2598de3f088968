// Byte search through the C library's memmem, which hashes pairs of bytes to skip far.
#include "platform/find_bytes.h"

#include <string.h>

namespace tavo::platform {

std::size_t find_bytes(std::string_view haystack, std::string_view needle, std::size_t from) {
  if (from > haystack.size()) return std::string_view::npos;
  if (needle.empty()) return from;
  const void* hit =
      memmem(haystack.data() + from, haystack.size() - from, needle.data(), needle.size());
  if (hit == nullptr) return std::string_view::npos;
  return static_cast<std::size_t>(static_cast<const char*>(hit) - haystack.data());
}

}  // namespace tavo::platform
