// The command-line driver: words, switches, and what each argument text leaves published.
#include "frontend/driver.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "fakes/fake_form.h"
#include "platform/posix/utf.h"

namespace tavo {
namespace {

using fake::Calls;
using fake::ProgramEnded;
using platform::Control;
using platform::posix::to_utf8;

struct Launch : fake::FakeForm {
  explicit Launch(std::u16string text) { platform.command_line.text = std::move(text); }
  // Runs Form_Load to the end of the program.
  void load() { EXPECT_THROW(form.Form_Load(), ProgramEnded); }
  std::string tavo() { return platform.registry.values["HKCU\\Environment\\TAVO"]; }
  Calls printed() const { return platform.log.calls_of({"window.print_line"}); }
  bool text1_set() const { return !platform.log.calls_of({"window.set_text Text1"}).empty(); }
};

struct DriverCase : fake::Row {
  std::vector<std::string> printed;  // every published result, in order, Text1's included
  bool text1;                        // handed to Text1
  std::string text2 = {};            // the output box at the end
};

class Driver : public testing::TestWithParam<DriverCase> {};

TEST_P(Driver, PublishesWhatTheWordsAskForAndEnds) {
  const DriverCase& c = GetParam();
  Launch run(c.text);
  run.load();
  Calls printed;
  for (const std::string& line : c.printed)
    printed.push_back("window.print_line " + fake::quoted(platform::posix::from_utf8(line)));
  EXPECT_EQ(run.printed(), printed);
  EXPECT_EQ(run.text1_set(), c.text1);
  EXPECT_EQ(to_utf8(run.platform.window.text(Control::kText2)), c.text2);
  if (!c.printed.empty()) {
    // The last result is what stays in every published place.
    EXPECT_EQ(run.tavo(), c.printed.back());
    EXPECT_EQ(run.platform.files.files["C:\\Temp\\wmac.cmd"],
              "@set tavo=\r\n@set tavo=" + c.printed.back() + "\r\n");
    EXPECT_EQ(to_utf8(run.platform.clipboard.text()), c.printed.back());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Driver,
    testing::Values(
        // Each conversion switch keeps its own result: nothing converts it again.
        DriverCase{{u"/:. 00:1A:2B"}, {"00.1a.2b"}, false},
        DriverCase{{u"/.: 00.1A.2B"}, {"00:1a:2b"}, false},
        DriverCase{{u"/:- 00:1A:2B"}, {"00-1a-2b"}, false},
        DriverCase{{u"/-: 00-1A-2B"}, {"00:1a:2b"}, false},
        DriverCase{{u"/-. 00-1A-2B"}, {"00.1a.2b"}, false},
        DriverCase{{u"/.- 00.1A.2B"}, {"00-1a-2b"}, false},
        // The last word is converted wherever the switch stands, and twice for two switches.
        DriverCase{{u"00:1A /:-"}, {"/--"}, false}, DriverCase{{u"/-."}, {"/.."}, false},
        DriverCase{{u"/-: /:. 00-1A-2B"}, {"00:1a:2b", "00"}, false},
        DriverCase{{u"-s /:- 00:1A"}, {"00-1a"}, false},
        // One word without "-" or ":" converts with mode 7 into Text2.
        DriverCase{{u"001A2B"}, {"00:1a:2b"}, false, "00:1a:2b"},
        DriverCase{{u"00.1A.2B"}, {"00:.1:a.:2b"}, false, "00:.1:a.:2b"},
        DriverCase{{u"/DHCP"}, {"/d:hc:p"}, false, "/d:hc:p"},
        // Anything else goes to Text1, whose change handler converts its last word.
        DriverCase{{u"00:1A:2B"}, {"00-1a-2b"}, true, "00-1a-2b"},
        DriverCase{{u"00-1A-2B"}, {"00:1a:2b"}, true, "00:1a:2b"},
        DriverCase{{u"-s 00:1A"}, {"00-1a"}, true, "00-1a"},
        DriverCase{{u"/:-\t00:1A"}, {"/::\t0"}, true, "/::\t0"},  // one word, no switch
        // The empty word hands over and ends; nothing behind it runs. After a switch has acted
        // it only ends: the switch's result stays.
        DriverCase{{u" "}, {" "}, true, " "}, DriverCase{{u"/:- 00:1A "}, {""}, false},
        DriverCase{{u"/:- 00:1A  x"}, {"x"}, false},
        DriverCase{{u"-s  /dhcp x y"}, {"-s:  :/d:hc:p :x :y"}, true, "-s:  :/d:hc:p :x :y"}));

TEST(Driver, AnEmptyArgumentTextLeavesTheWindowRunning) {
  Launch run(u"");
  run.platform.window.pastes.push_back(u"001122");
  run.load();
  EXPECT_EQ(run.platform.log.calls_of({"window.show"}), (Calls{"window.show", "window.show"}));
  EXPECT_EQ(run.printed(), Calls{"window.print_line \"00:11:22\""});
}

TEST(Driver, TheLookupsSummaryStaysOnTheClipboard) {
  // A trailing blank, a common slip in scripts, makes an empty last word.
  for (const std::u16string text : {u"/dhcp idx.txt ws7", u"/dhcp idx.txt ws7 "}) {
    Launch run(text);
    run.platform.files.files["idx.txt"] = "l.txt";
    run.platform.files.files["l.txt"] =
        "10.0.0.7 - 255.0.0.0 - 00:1A:2B - NEVER EXPIRES -D- ws7.lab";
    run.load();
    EXPECT_EQ(to_utf8(run.platform.clipboard.text()),
              "Hostnamews7\r\nMacaddress:00-1a-2b\r\nIPaddress:10.0.0.7\r\nMask:255.0.0.0\r\n"
              "Lease:NEVER EXPIRES")
        << to_utf8(text);
    EXPECT_FALSE(run.text1_set()) << to_utf8(text);
    EXPECT_EQ(run.tavo(), "00-1a-2b") << to_utf8(text);
  }
}

TEST(Driver, AFailureStopsItAndPassesOn) {
  struct Case {
    std::u16string text;
    std::string fail_on;
  };
  const Case cases[] = {{u"/dhcp -s 001122", ""},
                        {u"001122", "clipboard.set_text"},
                        {u"00:11:22", "window.set_text Text2"}};
  for (const Case& c : cases) {
    Launch run(c.text);
    if (!c.fail_on.empty()) run.platform.log.fail_on(c.fail_on);
    EXPECT_THROW(run.form.Form_Load(), Error) << to_utf8(c.text);
    EXPECT_EQ(run.platform.log.calls_of({"window.show"}), Calls{"window.show"});
  }
}

}  // namespace
}  // namespace tavo
