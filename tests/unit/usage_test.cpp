// The usage: whole lines that a console 80 characters wide shows unbroken.
#include "frontend/usage.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tavo {
namespace {

TEST(Usage, EveryLineFitsAConsoleAndEndsAsAsked) {
  for (const UsageFacts& facts : {kLinuxUsage, kNtUsage, k9xUsage}) {
    const std::string_view program = facts.program, line_end = facts.line_end;
    const std::string text = usage(facts);
    ASSERT_TRUE(text.ends_with(line_end)) << program;
    std::size_t lines = 0;
    for (std::size_t at = 0, end; (end = text.find(line_end, at)) != std::string::npos;
         at = end + std::string_view(line_end).size()) {
      EXPECT_LE(end - at, 79U) << program << ": " << text.substr(at, end - at);
      EXPECT_EQ(text.substr(at, end - at).find('\n'), std::string::npos) << program;
      ++lines;
    }
    EXPECT_GT(lines, 10U);
    EXPECT_NE(text.find("Usage: " + std::string(program) + " [SWITCH...]"), std::string::npos);
    EXPECT_NE(text.find(facts.tavo_store), std::string::npos);
  }
}

}  // namespace
}  // namespace tavo
