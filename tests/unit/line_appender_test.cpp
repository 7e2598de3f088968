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
      {"PATH C:\\DOS\n", "PATH C:\\DOS\n"},
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
