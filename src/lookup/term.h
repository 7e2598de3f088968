// A search term, found fast in large blocks of listing text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace tavo {

// Finds a run of bytes. It looks with memchr for the term's rarest byte, as listings go, and
// checks the bytes around each hit: a host name is then found at memory speed. Where that byte
// turns out to be common (every byte of a hardware address is common in a listing), it goes
// over to the system's own substring search for the rest of the text.
class Term {
 public:
  // `lead` marks the lead bytes of the text's encoding, when it has two-byte characters.
  explicit Term(std::string bytes, const platform::LeadBytes& lead = {});

  const std::string& bytes() const { return bytes_; }
  // True when the text has two-byte characters, so a hit may begin on a second byte.
  bool multibyte() const { return multibyte_; }
  // The first place at or after `at` where a character of `text` begins, counted on from
  // `from` (<= at), where one begins. Every place is one when the text has no two-byte
  // characters.
  std::size_t character_start(std::string_view text, std::size_t from, std::size_t at) const;

  // The first occurrence in `text` at or after `from`, or npos. An empty term occurs at `from`.
  std::size_t find(std::string_view text, std::size_t from) const;

 private:
  std::string bytes_;
  std::size_t rare_ = 0;  // position in the term of the byte that memchr looks for
  platform::LeadBytes lead_;
  bool multibyte_ = false;
};

}  // namespace tavo
