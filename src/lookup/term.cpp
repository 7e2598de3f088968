// A search term: a filter on two of its bytes, thirty-two, sixteen or eight places at a time.
#include "lookup/term.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TAVO_SSE2 1
#endif

namespace tavo {

namespace {

// The filter's two bytes and their places in the term.
struct Filter {
  std::size_t first_place;
  std::size_t second_place;
  char first;
  char second;
};

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

Term::Term(std::string bytes, const platform::LeadBytes& lead, platform::Vectors vectors)
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
  if (vectors_ != platform::Vectors::none) return find_in_vectors(text, from, last);
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

// The vector search's loop is compiled once for each instruction set, in a namespace of its own
// whose functions all carry the set's target attribute; the include file holds the loop.

namespace sse2 {
#define TAVO_VECTORS __attribute__((target("sse2")))
using Vector = __m128i;
constexpr std::size_t kWidth = 16;
TAVO_VECTORS inline Vector splat(char c) {
  return _mm_set1_epi8(c);
}
TAVO_VECTORS inline Vector load(const char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
TAVO_VECTORS inline Vector equal(Vector a, Vector b) {
  return _mm_cmpeq_epi8(a, b);
}
TAVO_VECTORS inline Vector both(Vector a, Vector b) {
  return _mm_and_si128(a, b);
}
TAVO_VECTORS inline Vector either(Vector a, Vector b) {
  return _mm_or_si128(a, b);
}
TAVO_VECTORS inline unsigned mask(Vector v) {
  return static_cast<unsigned>(_mm_movemask_epi8(v));
}
#include "lookup/term_vectors.inc"
#undef TAVO_VECTORS
}  // namespace sse2

namespace avx2 {
#define TAVO_VECTORS __attribute__((target("avx2")))
using Vector = __m256i;
constexpr std::size_t kWidth = 32;
TAVO_VECTORS inline Vector splat(char c) {
  return _mm256_set1_epi8(c);
}
TAVO_VECTORS inline Vector load(const char* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
TAVO_VECTORS inline Vector equal(Vector a, Vector b) {
  return _mm256_cmpeq_epi8(a, b);
}
TAVO_VECTORS inline Vector both(Vector a, Vector b) {
  return _mm256_and_si256(a, b);
}
TAVO_VECTORS inline Vector either(Vector a, Vector b) {
  return _mm256_or_si256(a, b);
}
TAVO_VECTORS inline unsigned mask(Vector v) {
  return static_cast<unsigned>(_mm256_movemask_epi8(v));
}
#include "lookup/term_vectors.inc"
#undef TAVO_VECTORS
}  // namespace avx2

}  // namespace

// On i686 only where the caller allows it (see the constructor).
std::size_t Term::find_in_vectors(std::string_view text, std::size_t from, std::size_t last) const {
  const auto first_match_at = [&](std::size_t base, unsigned passed) {
    return first_match(text, base, passed);
  };
  const Filter filter{first_, second_, bytes_[first_], bytes_[second_]};
  const bool one_byte = first_ == second_;
  const auto [hit, rest] =
      vectors_ == platform::Vectors::avx2
          ? (one_byte ? avx2::scan<true>(text.data(), from, last, filter, first_match_at)
                      : avx2::scan<false>(text.data(), from, last, filter, first_match_at))
          : (one_byte ? sse2::scan<true>(text.data(), from, last, filter, first_match_at)
                      : sse2::scan<false>(text.data(), from, last, filter, first_match_at));
  if (hit != std::string_view::npos) return hit;
  return rest <= last ? find_one_by_one(text, rest, last) : std::string_view::npos;
}

#else
std::size_t Term::find_in_vectors(std::string_view text, std::size_t from, std::size_t last) const {
  return find_in_words(text, from, last);
}
#endif

}  // namespace tavo
