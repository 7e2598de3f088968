// A search term, found fast in large blocks of listing text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavo {

// Finds a run of bytes. It looks with memchr for the term's rarest byte, as listings go, and
// checks the bytes around each hit: a host name is then found at memory speed. Where that byte
// turns out to be common (every byte of a hardware address is common in a listing), it goes
// over to the system's own substring search for the rest of the text.
class Term {
 public:
  explicit Term(std::string bytes);

  const std::string& bytes() const { return bytes_; }

  // The first occurrence in `text` at or after `from`, or npos. An empty term occurs at `from`.
  std::size_t find(std::string_view text, std::size_t from) const;

 private:
  std::string bytes_;
  std::size_t rare_ = 0;  // position in the term of the byte that memchr looks for
};

}  // namespace tavo
