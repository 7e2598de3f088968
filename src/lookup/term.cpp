// A search term: a filter on two of its bytes, sixteen or eight places at a time.
#include "lookup/term.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>
#define TAVO_SSE2 1
#endif

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
std::pair<std::size_t, std::size_t> rarest_places(const std::string& term, Commonness commonness) {
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

Term::Term(std::string bytes, const platform::LeadBytes& lead, bool vectors)
    : bytes_(std::move(bytes)), lead_(lead), vectors_(vectors) {
  for (const bool marked : lead_) multibyte_ = multibyte_ || marked;
  std::tie(first_, second_) = rarest_places(
      bytes_, [](char c) { return guessed_commonness(static_cast<unsigned char>(c)); });
}

void Term::tune(std::string_view sample) {
  // The first 64 KB of a listing tell its rare bytes well enough, in a fraction of the time.
  sample = sample.substr(0, std::size_t{64} * 1024);
  std::array<std::size_t, 256> count{};
  for (const char c : sample) ++count[static_cast<unsigned char>(c)];
  std::tie(first_, second_) =
      rarest_places(bytes_, [&count](char c) { return count[static_cast<unsigned char>(c)]; });
  // A byte that stands at most once in 4 KB filters well enough alone, at half the work.
  if (count[static_cast<unsigned char>(bytes_.empty() ? 0 : bytes_[first_])] * 4096 <=
      sample.size()) {
    second_ = first_;
  }
}

std::size_t Term::character_start(std::string_view text, std::size_t from, std::size_t at) const {
  if (!multibyte_) return at;
  std::size_t place = from;
  while (place < at) place += lead_[static_cast<unsigned char>(text[place])] ? 2u : 1u;
  return place;
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
  if (vectors_) {
    return find_in_vectors(text, from, last);
  }
#endif
  return find_in_words(text, from, last);
}

std::size_t Term::find_one_by_one(std::string_view text, std::size_t from, std::size_t last) const {
  const char first = bytes_[first_];
  const char second = bytes_[second_];
  for (std::size_t at = from; at <= last; ++at) {
    if (text[at + first_] == first && text[at + second_] == second && matches_at(text, at)) {
      return at;
    }
  }
  return std::string_view::npos;
}

// Eight places at a time: a byte of a word is zero where it equals the filter's byte, and the
// test for a zero byte may also flag a byte above a zero one, never miss one.
std::size_t Term::find_in_words(std::string_view text, std::size_t from, std::size_t last) const {
  using Word = std::uint64_t;
  constexpr Word kOnes = ~Word{0} / 0xFF;
  constexpr Word kHighs = kOnes * 0x80;
  const Word first = kOnes * static_cast<unsigned char>(bytes_[first_]);
  const Word second = kOnes * static_cast<unsigned char>(bytes_[second_]);
  std::size_t at = from;
  for (; at <= last && last - at >= sizeof(Word) - 1; at += sizeof(Word)) {
    Word a = 0;
    Word b = 0;
    std::memcpy(&a, text.data() + at + first_, sizeof a);
    std::memcpy(&b, text.data() + at + second_, sizeof b);
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

// The places among the sixteen at `at` whose filter bytes are the term's: its first byte alone,
// or both.
template <bool kOneByte>
__attribute__((target("sse2"))) inline __m128i passing(const char* at, std::size_t first_place,
                                                       std::size_t second_place, __m128i first,
                                                       __m128i second) {
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + first_place));
  if constexpr (kOneByte) {
    return _mm_cmpeq_epi8(a, first);
  } else {
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + second_place));
    return _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, second));
  }
}

// Sixteen places at a time, and sixty-four to a turn of the loop, so that a place passes the
// filter rarely enough for the loop to run at the speed of reading memory. Returns the first
// match that `first_match(base, passed)` finds, or npos and the place where fewer than sixteen
// places are left.
template <bool kOneByte, typename FirstMatch>
__attribute__((target("sse2"))) std::pair<std::size_t, std::size_t> scan_vectors(
    const char* data, std::size_t from, std::size_t last, std::size_t first_place,
    std::size_t second_place, char first_byte, char second_byte, FirstMatch first_match) {
  const __m128i first = _mm_set1_epi8(first_byte);
  const __m128i second = _mm_set1_epi8(second_byte);
  std::size_t at = from;
  for (; at <= last && last - at >= 63; at += 64) {
    // Written out by hand: as an array, the four were kept on the stack, at a third of the speed.
    const __m128i p0 = passing<kOneByte>(data + at, first_place, second_place, first, second);
    const __m128i p1 = passing<kOneByte>(data + at + 16, first_place, second_place, first, second);
    const __m128i p2 = passing<kOneByte>(data + at + 32, first_place, second_place, first, second);
    const __m128i p3 = passing<kOneByte>(data + at + 48, first_place, second_place, first, second);
    if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(p0, p1), _mm_or_si128(p2, p3))) == 0) continue;
    const unsigned low = static_cast<unsigned>(_mm_movemask_epi8(p0)) |
                         static_cast<unsigned>(_mm_movemask_epi8(p1)) << 16;
    const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(p2)) |
                          static_cast<unsigned>(_mm_movemask_epi8(p3)) << 16;
    std::size_t hit = first_match(at, low);
    if (hit == std::string_view::npos) hit = first_match(at + 32, high);
    if (hit != std::string_view::npos) return {hit, at};
  }
  for (; at <= last && last - at >= 15; at += 16) {
    const __m128i places = passing<kOneByte>(data + at, first_place, second_place, first, second);
    const std::size_t hit = first_match(at, static_cast<unsigned>(_mm_movemask_epi8(places)));
    if (hit != std::string_view::npos) return {hit, at};
  }
  return {std::string_view::npos, at};
}

}  // namespace

// On i686 only where the caller allows it (see the constructor).
std::size_t Term::find_in_vectors(std::string_view text, std::size_t from, std::size_t last) const {
  const auto first_match_at = [&](std::size_t base, unsigned passed) {
    return first_match(text, base, passed);
  };
  const auto [hit, rest] =
      first_ == second_ ? scan_vectors<true>(text.data(), from, last, first_, second_,
                                             bytes_[first_], bytes_[second_], first_match_at)
                        : scan_vectors<false>(text.data(), from, last, first_, second_,
                                              bytes_[first_], bytes_[second_], first_match_at);
  if (hit != std::string_view::npos) return hit;
  return rest <= last ? find_one_by_one(text, rest, last) : std::string_view::npos;
}

#else
std::size_t Term::find_in_vectors(std::string_view text, std::size_t from, std::size_t last) const {
  return find_in_words(text, from, last);
}
#endif

}  // namespace tavo
