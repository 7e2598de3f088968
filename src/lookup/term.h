// A search term, found fast in large blocks of listing text.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "lookup/term_filter.h"
#include "platform/files.h"
#include "platform/system.h"

namespace tavo {

// Finds a run of bytes with a filter on up to four of its bytes at their places in the term:
// thirty-two places at a time with AVX2 or sixteen with SSE2 where the processor and the system
// allow it, eight at a time on two of them in plain words elsewhere. Each place that passes the
// filter is compared whole. The filter's bytes are those that let the fewest places of the text
// being searched pass (see tune): the fewer pass, the closer the search comes to the speed of
// reading memory.
class Term {
 public:
  // `lead` marks the lead bytes of the text's encoding, when it has two-byte characters.
  // `vectors`: the widest vector instructions that may be used; they are used only where they
  // are built in (x86), plain words elsewhere.
  explicit Term(std::string bytes, const platform::LeadBytes& lead = {},
                platform::Vectors vectors = platform::Vectors::sse2);

  const std::string& bytes() const { return bytes_; }
  // True when the text has two-byte characters, so a hit may begin on a second byte.
  bool multibyte() const { return multibyte_; }
  // True when `line`, whose first byte begins a character, holds the term where a character
  // begins: anywhere, where the text has no two-byte characters.
  bool held_by(std::string_view line) const;

  // Chooses the filter's bytes by `sample`, a first block of the text to be searched (see
  // choose_filter). Until then a guess chooses two bytes.
  void tune(std::string_view sample);

  // The first occurrence in `text` at or after `from`, or npos. An empty term occurs at `from`.
  std::size_t find(std::string_view text, std::size_t from) const;

 private:
  std::size_t find_in_vectors(std::string_view text, std::size_t from, std::size_t last) const;
  std::size_t find_in_words(std::string_view text, std::size_t from, std::size_t last) const;
  std::size_t find_one_by_one(std::string_view text, std::size_t from, std::size_t last) const;
  bool matches_at(std::string_view text, std::size_t at) const;
  // The first place at or after `at` where a character of `text` begins, counted on from
  // `from` (<= at), where one begins.
  std::size_t character_start(std::string_view text, std::size_t from, std::size_t at) const;
  // The first of the places base + i, for each bit i set in `passed`, where the term stands.
  std::size_t first_match(std::string_view text, std::size_t base, unsigned passed) const;

  std::string bytes_;
  TermFilter filter_;
  platform::LeadBytes lead_;
  bool multibyte_ = false;
  platform::Vectors vectors_ = platform::Vectors::none;
};

}  // namespace tavo
