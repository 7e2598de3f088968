// The Linux window stand-in: stdin lines are pastes, end of input closes.
#include "platform/posix/window.h"

#include <gtest/gtest.h>

#include <sstream>

#include "fakes/fake_platform.h"
#include "frontend/form1.h"

namespace tavo {
namespace {

using platform::Control;
using platform::posix::HeadlessWindow;

struct Ended {};

struct Fixture {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  HeadlessWindow window{in, out, err, [] { throw Ended{}; }};
  fake::FakePlatform fakes;
  fake::Recorder& log = fakes.log;
  platform::Services services = fakes.with(window, fakes.clipboard);
  Form1 form{services};
  explicit Fixture(std::string input) : in(std::move(input)) {}
};

TEST(HeadlessWindow, EachLineIsAPasteAndEndOfInputCloses) {
  Fixture f("00-1A-2B\r\n\xC3\x84\xC3\x84:11\nzz\n");
  EXPECT_THROW(f.form.Form_Load(), Ended);
  const std::vector<std::string> expected{"clipboard.set_text \"00:1a:2b\"",
                                          "clipboard.set_text \"00:1a:2b\"",
                                          "clipboard.set_text \"\xC3\xA4\xC3\xA4-11\"",
                                          "clipboard.set_text \"\xC3\xA4\xC3\xA4-11\"",
                                          "clipboard.set_text \"zz\"",
                                          "clipboard.set_text \"zz\""};
  EXPECT_EQ(f.log.calls_of({"clipboard.set_text"}), expected);
  EXPECT_EQ(f.window.text(Control::kText1), u"zz");
  EXPECT_EQ(f.window.selected_text(Control::kText1), u"zz");
  EXPECT_EQ(f.window.focus(), Control::kText1);
  EXPECT_EQ(f.out.str(), "00:1a:2b\n\xC3\xA4\xC3\xA4-11\nzz\n");  // each published line
  EXPECT_EQ(f.err.str(), "");
}

TEST(HeadlessWindow, AFailingPasteIsReportedAndTheLoopGoesOn) {
  Fixture f("00-11\n00-22\n");
  f.log.fail_on("clipboard.clear");
  EXPECT_THROW(f.form.Form_Load(), Ended);
  EXPECT_EQ(f.window.text(Control::kText2), u"00:22");
  EXPECT_EQ(f.err.str(),
            "tavo: fake failure of clipboard.clear\ntavo: fake failure of clipboard.clear\n");
}

TEST(HeadlessWindow, AFailureOfAnyKindIsReportedAndTheLoopGoesOn) {
  struct Exhausted final : platform::Clipboard {
    void clear() override { throw std::bad_alloc(); }
    void set_text(std::u16string_view) override {}
  } exhausted;
  Fixture f("00-11\n00-22\n");
  const platform::Services services = f.fakes.with(f.window, exhausted);
  Form1 form(services);
  EXPECT_THROW(form.Form_Load(), Ended);
  EXPECT_EQ(f.window.text(Control::kText2), u"00:22");
  EXPECT_EQ(f.err.str(), "tavo: std::bad_alloc\ntavo: std::bad_alloc\n");
}

TEST(HeadlessWindow, PrintsLinesAndKeepsSelectionsInsideTheText) {
  Fixture f("");
  f.window.print_line(u"00-1a");
  f.window.print_line(u"");
  EXPECT_EQ(f.out.str(), "00-1a\n\n");
  f.window.set_text(Control::kText2, u"abc");
  f.window.select(Control::kText2, 1, 99);
  EXPECT_EQ(f.window.selected_text(Control::kText2), u"bc");
  f.window.select(Control::kText2, 7, 1);
  EXPECT_EQ(f.window.selected_text(Control::kText2), u"");
}

}  // namespace
}  // namespace tavo
