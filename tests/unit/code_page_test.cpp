// The conversion flags that each Windows code page accepts.
#include "platform/win32/rules.h"

#include <gtest/gtest.h>

namespace tavo::platform::win32 {
namespace {

TEST(CodePage, EachPageGetsFlagsItAccepts) {
  struct Case {
    std::uint32_t code_page;
    CodePageRules rules;
  };
  const Case cases[] = {
      // Single- and double-byte pages: no best fit, and the used-default flag tells a loss.
      {1252, {kWcNoBestFitChars, true, false, kMbErrInvalidChars}},
      {850, {kWcNoBestFitChars, true, false, kMbErrInvalidChars}},  // the console's, as 437
      {932, {kWcNoBestFitChars, true, false, kMbErrInvalidChars}},
      {950, {kWcNoBestFitChars, true, false, kMbErrInvalidChars}},
      // UTF-8 refuses WC_NO_BEST_FIT_CHARS and the default-character arguments; an unpaired
      // surrogate must fail rather than become U+FFFD.
      {65001, {kWcErrInvalidChars, false, false, kMbErrInvalidChars}},
      // Pages that take no flags at all: only a round trip shows a loss.
      {65000, {0, false, true, 0}},
      {54936, {0, false, true, 0}},
      {50220, {0, false, true, 0}},
  };
  for (const Case& c : cases) {
    const CodePageRules rules = code_page_rules(c.code_page);
    EXPECT_EQ(rules.encode_flags, c.rules.encode_flags) << c.code_page;
    EXPECT_EQ(rules.ask_default_used, c.rules.ask_default_used) << c.code_page;
    EXPECT_EQ(rules.compare_round_trip, c.rules.compare_round_trip) << c.code_page;
    EXPECT_EQ(rules.decode_flags, c.rules.decode_flags) << c.code_page;
  }
}

}  // namespace
}  // namespace tavo::platform::win32
