// The set lines of the command script and the start-up file: escaped, or refused.
#include "publish/batch_line.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "platform/posix/utf.h"

namespace tavo {
namespace {

using platform::posix::to_utf8;

struct Case : fake::Row {
  std::optional<std::string> script;    // the second line of wmac.cmd
  std::optional<std::string> autoexec;  // the SET line, name TAVO
};

class SetLines : public testing::TestWithParam<Case> {};

TEST_P(SetLines, EscapeOrRefuse) {
  const Case& c = GetParam();
  const auto script = script_set_line(c.text);
  const auto autoexec = autoexec_set_line(u"TAVO", c.text);
  ASSERT_EQ(script.has_value(), c.script.has_value());
  ASSERT_EQ(autoexec.has_value(), c.autoexec.has_value());
  if (script) {
    EXPECT_EQ(to_utf8(*script), *c.script);
  }
  if (autoexec) {
    EXPECT_EQ(to_utf8(*autoexec), *c.autoexec);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SetLines,
    testing::Values(
        Case{{u"00-1a-2b-33-44-55"}, "@set tavo=00-1a-2b-33-44-55", "SET TAVO=00-1a-2b-33-44-55"},
        Case{{u"0a:1b.2c"}, "@set tavo=0a:1b.2c", "SET TAVO=0a:1b.2c"},
        Case{{u""}, "@set tavo=", "SET TAVO="}, Case{{u"a:&b"}, "@set tavo=a:^&b", "SET TAVO=a:&b"},
        Case{{u"x|y"}, "@set tavo=x^|y", std::nullopt},
        Case{{u"%PATH%"}, "@set tavo=%%PATH%%", "SET TAVO=%%PATH%%"},
        Case{{u"say \"hi\""}, "@set tavo=say ^\"hi^\"", "SET TAVO=say \"hi\""},
        Case{{u"^<>()"}, "@set tavo=^^^<^>^(^)", std::nullopt},
        Case{{u" lead trail "}, "@set tavo= lead trail ", "SET TAVO= lead trail "},
        Case{{u"!x! \u00e4"}, "@set tavo=!x! \u00e4", "SET TAVO=!x! \u00e4"},
        Case{{u"a\rb"}, std::nullopt, std::nullopt}, Case{{u"a\nb"}, std::nullopt, std::nullopt},
        Case{{std::u16string(u"a\0b", 3)}, std::nullopt, std::nullopt},
        Case{{u"a\x1A"}, std::nullopt, std::nullopt}));

TEST(AutoexecSetLine, TheNameIsCheckedAndEscapedToo) {
  EXPECT_EQ(to_utf8(*autoexec_set_line(u"A%B", u"1")), "SET A%%B=1");
  EXPECT_FALSE(autoexec_set_line(u"A>B", u"1").has_value());
}

}  // namespace
}  // namespace tavo
