// The term search against the plain substring search, on texts dense and sparse in its bytes.
#include "lookup/term.h"

#include <gtest/gtest.h>

#include <random>

namespace tavo {
namespace {

// Every occurrence, by repeated search from one past the last.
std::vector<std::size_t> all_hits(const std::string& text, const std::string& term, bool by_term) {
  const Term searcher(term);
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
  // Small alphabets make the rare byte common, so the search goes over to the system's.
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
      EXPECT_EQ(all_hits(text, term, true), all_hits(text, term, false))
          << testing::PrintToString(term) << " in " << text.size() << " bytes";
    }
  }
}

TEST(Term, EdgesOfTheText) {
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
