// Which of a search term's bytes its filter looks at: those that let the fewest places through.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace tavo {

// The places in the term of the filter's bytes, the rarest first; as many as `count`, from 1 to
// 4. A text passes the filter at a place where it has each of those bytes at its place.
struct TermFilter {
  static constexpr std::size_t kMost = 4;
  std::array<std::size_t, kMost> places{};
  std::size_t count = 1;
};

// Before any text is seen: the term's two rarest bytes in lease listings, as a guess.
TermFilter guess_filter(std::string_view term);

// By `sample`, a first block of the text to be searched: the term's rarest byte there, then, one
// at a time, the byte that lets the fewest of the places that pass so far through, until few
// enough pass. nullopt when the sample is shorter than the term.
std::optional<TermFilter> choose_filter(std::string_view term, std::string_view sample);

}  // namespace tavo
