// Which of a search term's bytes its filter looks at.
#include "lookup/term_filter.h"

#include <utility>
#include <vector>

namespace tavo {

namespace {

// How often a byte stands in lease listings, before a listing has been seen; lower is rarer.
// Separators and digits fill every lease line, and lower-case letters most names.
int guessed_commonness(unsigned char c) {
  if (c == ' ' || c == '-' || c == '.' || c == ':' || c == '/' || (c >= '0' && c <= '9')) {
    return 3;
  }
  if (c >= 'a' && c <= 'z') return 2;
  if (c >= 'A' && c <= 'Z') return 1;
  return 0;
}

// The places of the two rarest bytes of `term` by `commonness`, the rarest first, preferring
// two different bytes; both are 0 for a term of one byte.
template <typename Commonness>
std::pair<std::size_t, std::size_t> rarest_places(std::string_view term, Commonness commonness) {
  std::size_t first = 0;
  for (std::size_t i = 1; i < term.size(); ++i) {
    if (commonness(term[i]) < commonness(term[first])) first = i;
  }
  std::size_t second = first;
  for (std::size_t i = 0; i < term.size(); ++i) {
    if (i == first) continue;
    const bool other_byte = term[i] != term[first];
    const bool second_other = term[second] != term[first];
    if (second == first || (other_byte && !second_other) ||
        (other_byte == second_other && commonness(term[i]) < commonness(term[second]))) {
      second = i;
    }
  }
  return {first, second};
}

}  // namespace

TermFilter guess_filter(std::string_view term) {
  const auto [first, second] =
      rarest_places(term, [](char c) { return guessed_commonness(static_cast<unsigned char>(c)); });
  TermFilter filter;
  filter.places = {first, second};
  filter.count = first == second ? 1 : 2;
  return filter;
}

std::optional<TermFilter> choose_filter(std::string_view term, std::string_view sample) {
  // The first 64 KB of a listing tell its rare bytes well enough, in a fraction of the time.
  sample = sample.substr(0, std::size_t{64} * 1024);
  if (term.empty() || sample.size() < term.size()) return std::nullopt;
  std::array<std::size_t, 256> count{};
  for (const char c : sample) ++count[static_cast<unsigned char>(c)];
  TermFilter filter;
  filter.places[0] =
      rarest_places(term, [&count](char c) { return count[static_cast<unsigned char>(c)]; }).first;
  // The places of the sample that pass the filter so far; each byte added keeps those that it
  // lets through. Once at most one place in 4 KB passes, another byte costs more than it saves.
  std::vector<std::size_t> passing;
  for (std::size_t at = 0; at + term.size() <= sample.size(); ++at) {
    if (sample[at + filter.places[0]] == term[filter.places[0]]) passing.push_back(at);
  }
  while (filter.count < TermFilter::kMost && passing.size() * 4096 > sample.size()) {
    std::size_t best = filter.places[0];
    std::size_t best_count = passing.size();
    for (std::size_t place = 0; place < term.size(); ++place) {
      std::size_t passed = 0;
      for (const std::size_t at : passing) passed += sample[at + place] == term[place];
      if (passed < best_count) best = place, best_count = passed;
    }
    if (best_count == passing.size()) break;  // no byte lets fewer through
    std::erase_if(passing, [&](std::size_t at) { return sample[at + best] != term[best]; });
    filter.places[filter.count++] = best;
  }
  return filter;
}

}  // namespace tavo
