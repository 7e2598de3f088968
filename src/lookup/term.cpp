// A search term: a filter on up to four of its bytes, thirty-two, sixteen or eight places at a
// time.
#include "lookup/term.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TAVO_SSE2 1
#endif

namespace tavo {

namespace {

// The filter's bytes and their places in the term.
struct Filter {
  std::array<std::size_t, 4> places;
  std::array<char, 4> bytes;
};

}  // namespace

Term::Term(std::string bytes, const platform::LeadBytes& lead, platform::Vectors vectors)
    : bytes_(std::move(bytes)), filter_(guess_filter(bytes_)), lead_(lead), vectors_(vectors) {
  for (const bool marked : lead_) multibyte_ = multibyte_ || marked;
}

void Term::tune(std::string_view sample) {
  if (auto chosen = choose_filter(bytes_, sample)) filter_ = *chosen;
}

std::size_t Term::character_start(std::string_view text, std::size_t from, std::size_t at) const {
  if (!multibyte_) return at;
  std::size_t place = from;
  while (place < at) place += lead_[static_cast<unsigned char>(text[place])] ? 2u : 1u;
  return place;
}

bool Term::held_by(std::string_view line) const {
  if (!multibyte_) return find(line, 0) != std::string_view::npos;
  std::size_t walked = 0;
  for (std::size_t at = find(line, 0); at != std::string_view::npos; at = find(line, at + 1)) {
    walked = character_start(line, walked, at);
    if (walked == at) return true;
  }
  return false;
}

bool Term::matches_at(std::string_view text, std::size_t at) const {
  return std::memcmp(text.data() + at, bytes_.data(), bytes_.size()) == 0;
}

std::size_t Term::first_match(std::string_view text, std::size_t base, unsigned passed) const {
  for (; passed != 0; passed &= passed - 1) {
    const std::size_t place = base + static_cast<std::size_t>(__builtin_ctz(passed));
    if (matches_at(text, place)) return place;
  }
  return std::string_view::npos;
}

std::size_t Term::find(std::string_view text, std::size_t from) const {
  if (from > text.size()) return std::string_view::npos;
  if (bytes_.empty()) return from;
  if (text.size() - from < bytes_.size()) return std::string_view::npos;
  const std::size_t last = text.size() - bytes_.size();  // the last place a match can begin
#ifdef TAVO_SSE2
  if (vectors_ != platform::Vectors::none) return find_in_vectors(text, from, last);
#endif
  return find_in_words(text, from, last);
}

std::size_t Term::find_one_by_one(std::string_view text, std::size_t from, std::size_t last) const {
  const std::size_t first = filter_.places[0];
  for (std::size_t at = from; at <= last; ++at) {
    if (text[at + first] == bytes_[first] && matches_at(text, at)) return at;
  }
  return std::string_view::npos;
}

// Eight places at a time, on the filter's first two bytes: a byte of a word is zero where it
// equals the filter's byte, and the test for a zero byte may also flag a byte above a zero one,
// never miss one.
std::size_t Term::find_in_words(std::string_view text, std::size_t from, std::size_t last) const {
  using Word = std::uint64_t;
  constexpr Word kOnes = ~Word{0} / 0xFF;
  constexpr Word kHighs = kOnes * 0x80;
  const std::size_t first_place = filter_.places[0];
  const std::size_t second_place = filter_.places[filter_.count > 1 ? 1 : 0];
  const Word first = kOnes * static_cast<unsigned char>(bytes_[first_place]);
  const Word second = kOnes * static_cast<unsigned char>(bytes_[second_place]);
  std::size_t at = from;
  for (; at <= last && last - at >= sizeof(Word) - 1; at += sizeof(Word)) {
    Word a = 0;
    Word b = 0;
    std::memcpy(&a, text.data() + at + first_place, sizeof a);
    std::memcpy(&b, text.data() + at + second_place, sizeof b);
    a ^= first;
    b ^= second;
    if (((a - kOnes) & ~a & (b - kOnes) & ~b & kHighs) != 0) {
      const std::size_t hit = find_one_by_one(text, at, at + sizeof(Word) - 1);
      if (hit != std::string_view::npos) return hit;
    }
  }
  return at <= last ? find_one_by_one(text, at, last) : std::string_view::npos;
}

#ifdef TAVO_SSE2
namespace {

// The vector search's loop is compiled once for each instruction set, in a namespace of its own;
// the include file holds the loop and binds the set's intrinsics.
namespace sse2 {
#define TAVO_VECTOR_BITS 128
#include "lookup/term_vectors.inc"
}  // namespace sse2
namespace avx2 {
#define TAVO_VECTOR_BITS 256
#include "lookup/term_vectors.inc"
}  // namespace avx2

}  // namespace

// On i686 only where the caller allows it (see the constructor).
std::size_t Term::find_in_vectors(std::string_view text, std::size_t from, std::size_t last) const {
  const auto first_match_at = [&](std::size_t base, unsigned passed) {
    return first_match(text, base, passed);
  };
  Filter filter{};
  for (std::size_t i = 0; i < TermFilter::kMost; ++i) {
    filter.places[i] = filter_.places[i < filter_.count ? i : 0];  // unused ones repeat the first
    filter.bytes[i] = bytes_[filter.places[i]];
  }
  // The vectors of the first filter byte are read from aligned places, where no read straddles
  // two cache lines; the places before the first such one are looked at one by one.
  const std::size_t width = vectors_ == platform::Vectors::avx2 ? 32 : 16;
  const auto misalignment =
      reinterpret_cast<std::uintptr_t>(text.data() + from + filter_.places[0]) % width;
  const std::size_t head = misalignment == 0 ? 0 : width - misalignment;
  if (head > 0) {
    const std::size_t hit = find_one_by_one(text, from, std::min(from + head - 1, last));
    if (hit != std::string_view::npos || from + head > last) return hit;
    from += head;
  }
  const auto scan = [&](auto set) {
    switch (filter_.count) {
      case 1:
        return decltype(set)::template run<1>(text.data(), from, last, filter, first_match_at);
      case 2:
        return decltype(set)::template run<2>(text.data(), from, last, filter, first_match_at);
      case 3:
        return decltype(set)::template run<3>(text.data(), from, last, filter, first_match_at);
      default:
        return decltype(set)::template run<4>(text.data(), from, last, filter, first_match_at);
    }
  };
  const auto [hit, rest] =
      vectors_ == platform::Vectors::avx2 ? scan(avx2::Set{}) : scan(sse2::Set{});
  if (hit != std::string_view::npos) return hit;
  return rest <= last ? find_one_by_one(text, rest, last) : std::string_view::npos;
}

#else
std::size_t Term::find_in_vectors(std::string_view text, std::size_t from, std::size_t last) const {
  return find_in_words(text, from, last);
}
#endif

}  // namespace tavo
