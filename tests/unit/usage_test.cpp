// The usage: whole lines that a console 80 characters wide shows unbroken.
#include "frontend/usage.h"

#include <gtest/gtest.h>

#include <sstream>

#include "fakes/fake_form.h"
#include "platform/posix/utf.h"

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

// Each example runs as the command line it shows and leaves on the clipboard what it gives.
TEST(Usage, EveryExampleGivesWhatItSays) {
  std::istringstream lines(usage(kLinuxUsage));
  std::size_t examples = 0;
  for (std::string line; std::getline(lines, line);) {
    const std::size_t name = line.find(" tavo "), gives = line.find(" gives ");
    if (gives == std::string::npos) continue;
    std::string words = line.substr(name + 6, gives - name - 6);
    words.erase(words.find_last_not_of(' ') + 1);
    fake::FakeForm run;
    run.platform.command_line.text = platform::posix::from_utf8(words);
    EXPECT_THROW(run.form.Form_Load(), fake::ProgramEnded);
    EXPECT_EQ(platform::posix::to_utf8(run.platform.clipboard.text()), line.substr(gives + 7))
        << line;
    ++examples;
  }
  EXPECT_EQ(examples, 8U);
}

}  // namespace
}  // namespace tavo
