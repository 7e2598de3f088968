// The term search against the plain substring search, on texts dense and sparse in its bytes.
#include "lookup/term.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <vector>

namespace tavo {
namespace {

using platform::Vectors;

// The searches that this processor can run: in plain words, with SSE2 and with AVX2.
std::vector<Vectors> searches() {
  std::vector<Vectors> all{Vectors::none};
#if defined(__x86_64__) || defined(__i386__)
  if (__builtin_cpu_supports("sse2")) all.push_back(Vectors::sse2);
  if (__builtin_cpu_supports("avx2")) all.push_back(Vectors::avx2);
#endif
  return all;
}

const char* name(Vectors vectors) {
  return vectors == Vectors::avx2 ? "AVX2" : vectors == Vectors::sse2 ? "SSE2" : "words";
}

// Every occurrence, by repeated search from one past the last: with the given search, the
// filter tuned to `sample`; or, without one, by the plain substring search.
std::vector<std::size_t> all_hits(const std::string& text, const std::string& term,
                                  std::optional<Vectors> vectors, std::string_view sample = {}) {
  Term searcher(term, {}, vectors.value_or(Vectors::none));
  searcher.tune(sample);
  const bool by_term = vectors.has_value();
  std::vector<std::size_t> hits;
  for (std::size_t at = 0; at <= text.size();) {
    const std::size_t hit =
        by_term ? searcher.find(text, at) : std::string_view(text).find(term, at);
    if (hit == std::string_view::npos) break;
    hits.push_back(hit);
    at = hit + 1;
  }
  return hits;
}

TEST(Term, FindsWhatThePlainSearchFinds) {
  std::mt19937 random(7);
  // Small alphabets make the filter's bytes common, so many places pass it.
  const std::string alphabets[] = {"ab", "0123456789-", "abcdefghijklmnopqrstuvwxyz .-\r\n",
                                   std::string("\0\xff\x80z", 4)};
  for (const std::string& alphabet : alphabets) {
    for (int round = 0; round < 200; ++round) {
      std::string text(random() % 5000, ' ');
      for (char& c : text) c = alphabet[random() % alphabet.size()];
      std::string term(random() % 6, ' ');
      for (char& c : term) c = alphabet[random() % alphabet.size()];
      if (round % 3 == 0 && text.size() > 10)
        term = text.substr(random() % (text.size() - 10), 1 + random() % 9);
      const std::vector<std::size_t> expected = all_hits(text, term, std::nullopt);
      const std::string_view sample = std::string_view(text).substr(0, random() % 300);
      for (const Vectors vectors : searches()) {
        EXPECT_EQ(all_hits(text, term, vectors, sample), expected)
            << testing::PrintToString(term) << " in " << text.size() << " bytes, " << name(vectors);
      }
    }
  }
}

TEST(Term, EdgesOfTheText) {
  for (const Vectors vectors : searches()) {
    const Term term("ab", {}, vectors);
    // A match in the last place, just past a whole turn of 128 or 64, or 32, 16 or 8 places.
    for (std::size_t size = 2; size < 300; ++size) {
      const std::string text = std::string(size - 2, 'a') + "ab";
      EXPECT_EQ(term.find(text, 0), size - 2) << size << " " << name(vectors);
      EXPECT_EQ(term.find(text.substr(0, size - 1), 0), std::string_view::npos) << size;
    }
  }
  const Term term("ab");
  EXPECT_EQ(term.find("ab", 0), 0U);
  EXPECT_EQ(term.find("xab", 1), 1U);
  EXPECT_EQ(term.find("ab", 1), std::string_view::npos);
  EXPECT_EQ(term.find("a", 0), std::string_view::npos);
  EXPECT_EQ(term.find("ab", 3), std::string_view::npos);
  EXPECT_EQ(Term("").find("abc", 3), 3U);
  EXPECT_EQ(Term("").find("abc", 4), std::string_view::npos);
}

}  // namespace
}  // namespace tavo
