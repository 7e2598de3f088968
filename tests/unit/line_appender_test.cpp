// Appended lines begin a line of their own, before nothing but the file's own text.
#include "publish/line_appender.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace tavo {
namespace {

TEST(AppendLines, StartOnALineOfTheirOwnAndLeaveTheRestAsItWas) {
  const std::string marks(200, '\x1A');  // more than the first look at the end reads
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"PATH C:\\DOS\r\n", "PATH C:\\DOS\r\n"},
      {"PATH C:\\DOS", "PATH C:\\DOS\r\n"},
      {"SET BLASTER=A220 I5 D1\n", "SET BLASTER=A220 I5 D1\n\r\n"},  // a lone LF ends no line
      {"PATH C:\\DOS\r", "PATH C:\\DOS\r\n"},  // COMMAND.COM would take the next byte as LF
      {"\n", "\n\r\n"},
      {"A\r\r\n\x1A", "A\r\r\n"},
      {"A\n" + marks, "A\n\r\n"},
      {"\r\n" + std::string(63, '\x1A'), "\r\n"},  // the CR lies before the first look
      {"PATH C:\\DOS\r\n\x1A", "PATH C:\\DOS\r\n"},
      {"PATH C:\\DOS\x1A\x1A", "PATH C:\\DOS\r\n"},
      {"\x1A", ""},
      {"REM" + marks, "REM\r\n"},
      {"A\x1A"
       "B",
       "A\x1A"
       "B\r\n"},  // a mark inside the text is the user's own
  };
  for (const auto& [before, kept] : cases) {
    SCOPED_TRACE(testing::PrintToString(before));
    fake::FakePlatform platform;
    platform.files.files["c:\\autoexec.bat"] = before;
    EXPECT_TRUE(append_lines(platform.files, u"c:\\autoexec.bat", platform::Encoding::oem,
                             {u"SET TAVO=1", u"SET X=2"}));
    EXPECT_EQ(platform.files.files["c:\\autoexec.bat"], kept + "SET TAVO=1\r\nSET X=2\r\n");
    // The two lines are two writes; a missing line end goes with the first.
    EXPECT_EQ(platform.log.calls_of({"file.write"}).size(), 2U);
  }
}

}  // namespace
}  // namespace tavo
