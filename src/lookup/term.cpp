// A search term: memchr on its rarest byte, Horspool where that byte is common.
#include "lookup/term.h"

#include <cstring>

#include "platform/find_bytes.h"

namespace tavo {

namespace {

// How often a byte stands in lease listings and ordinary text; lower is rarer. Separators and
// digits fill every lease line; letters follow English use; everything else is rare.
int commonness(unsigned char c) {
  constexpr std::string_view kLetters = "zqjxkvbpygfwmucldrhsnioate";  // rarest first
  if (c == ' ' || c == '-' || c == '.' || c == ':' || c == '/' || (c >= '0' && c <= '9')) {
    return 200;
  }
  const unsigned char lower = c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
  const std::size_t letter = kLetters.find(static_cast<char>(lower));
  if (letter != std::string_view::npos) {
    return (lower == c ? 100 : 60) + static_cast<int>(letter);
  }
  return 10;
}

// Candidates that may fail before the search gives memchr up: once they come more often than
// one in a kilobyte, restarting memchr costs more than the system's search.
constexpr std::size_t kMissBudget = 16;
constexpr std::size_t kBytesPerMiss = 1024;

}  // namespace

Term::Term(std::string bytes, const platform::LeadBytes& lead)
    : bytes_(std::move(bytes)), lead_(lead) {
  for (const bool marked : lead_) multibyte_ = multibyte_ || marked;
  for (std::size_t i = 0; i < bytes_.size(); ++i) {
    if (commonness(static_cast<unsigned char>(bytes_[i])) <
        commonness(static_cast<unsigned char>(bytes_[rare_]))) {
      rare_ = i;
    }
  }
}

std::size_t Term::find(std::string_view text, std::size_t from) const {
  const std::size_t size = bytes_.size();
  if (from > text.size()) return std::string_view::npos;
  if (size == 0) return from;
  if (text.size() - from < size) return std::string_view::npos;
  const char wanted = bytes_[rare_];
  const std::size_t last_start = text.size() - size;  // the last place a match can begin
  std::size_t at = from + rare_;                      // where memchr looks next
  std::size_t misses = 0;
  while (at <= last_start + rare_) {
    const void* hit = std::memchr(text.data() + at, wanted, last_start + rare_ + 1 - at);
    if (hit == nullptr) return std::string_view::npos;
    const std::size_t start =
        static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) - rare_;
    if (std::memcmp(text.data() + start, bytes_.data(), size) == 0) return start;
    at = start + rare_ + 1;
    if (++misses > kMissBudget + (at - from) / kBytesPerMiss) {
      return platform::find_bytes(text, bytes_, start + 1);
    }
  }
  return std::string_view::npos;
}

std::size_t Term::character_start(std::string_view text, std::size_t from, std::size_t at) const {
  if (!multibyte_) return at;
  std::size_t place = from;
  while (place < at) place += lead_[static_cast<unsigned char>(text[place])] ? 2u : 1u;
  return place;
}

}  // namespace tavo
