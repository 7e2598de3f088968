// Form1's handlers against the recording platform: the exact calls, in order.
#include "frontend/form1.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "fakes/fake_form.h"
#include "fakes/fake_platform.h"
#include "platform/posix/utf.h"

namespace tavo {
namespace {

using fake::Calls;
using fake::ProgramEnded;
using platform::Control;

// Every change of Text1 after the conversion: show, select, clipboard, focus back.
Calls after_conversion(const std::string& text2, std::size_t text2_length,
                       std::size_t text1_length) {
  return {"window.set_focus Text2",
          "window.text Text2",
          "window.select Text2 0 " + std::to_string(text2_length),
          "clipboard.clear",
          "window.selected_text Text2",
          "clipboard.set_text \"" + text2 + "\"",
          "window.set_focus Text1",
          "window.text Text1",
          "window.select Text1 0 " + std::to_string(text1_length)};
}

struct ChangeCase : fake::Row {  // Text1's text
  std::string text2;             // UTF-8
};

class Text1Changes : public testing::WithParamInterface<ChangeCase>, public fake::FormTest {};

TEST_P(Text1Changes, ConvertsShowsCopiesAndSelectsTheInput) {
  const ChangeCase& c = GetParam();
  platform.window.preset(Control::kText1, c.text);

  form.Text1_Change();

  // hexconvert publishes (clipboard, window line) before Text2 is set.
  const std::string q = "\"" + c.text2 + "\"";
  Calls expected{"window.text Text1", "clipboard.clear", "clipboard.set_text " + q,
                 "window.print_line " + q, "window.set_text Text2 " + q};
  const Calls rest = after_conversion(c.text2, c.text2.size(), c.text.size());
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(platform.log.calls_of({"window.", "clipboard."}), expected);
  EXPECT_EQ(platform::posix::to_utf8(platform.clipboard.text()), c.text2);
}

INSTANTIATE_TEST_SUITE_P(
    Branches, Text1Changes,
    testing::Values(ChangeCase{{u"001A2B3C4D5E"}, "00:1a:2b:3c:4d:5e"},         // a
                    ChangeCase{{u"00-1A-2B-3C-4D-5E"}, "00:1a:2b:3c:4d:5e"},    // b
                    ChangeCase{{u"00:1A:2B:3C:4D:5E"}, "00-1a-2b-3c-4d-5e"},    // c
                    ChangeCase{{u"00-11:22"}, "00:11"},                         // b before c
                    ChangeCase{{u"Physical Address. : 00-1A-2B"}, "00:1a:2b"},  // b, last word only
                    ChangeCase{{u"mac: 001A2B"}, "00"},        // c, ':' in an earlier word
                    ChangeCase{{u"00 1A 2B"}, "00: 1:a :2b"},  // d, blanks included
                    ChangeCase{{u"00:11 "}, ""},               // c on the empty last word
                    ChangeCase{{u" 00-11"}, "00:11"}));        // b after a leading blank

class Text1Change : public fake::FormTest {};

TEST_F(Text1Change, EmptyInputConvertsNothingAndKeepsText2) {
  platform.window.preset(Control::kText2, u"00:11");

  form.Text1_Change();

  Calls expected{"window.text Text1"};
  const Calls rest = after_conversion("00:11", 5, 0);
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(platform.log.calls(), expected);  // nothing published either
}

TEST_F(Text1Change, ALaterChangeReplacesTheEarlierResultAndPrintsBelowIt) {
  platform.window.preset(Control::kText1, u"00-AA");
  form.Text1_Change();
  platform.window.preset(Control::kText1, u"B");
  form.Text1_Change();
  EXPECT_EQ(platform.clipboard.text(), u"b");
  EXPECT_EQ(platform.window.text(Control::kText2), u"b");
  EXPECT_EQ(platform.log.calls_of({"window.print_line"}),
            (Calls{"window.print_line \"00:aa\"", "window.print_line \"b\""}));
}

// The handler has no recovery of its own: a refused step ends it and reaches the caller. The
// publication inside hexconvert goes on past a failing clipboard, so the clipboard steps that
// fail here are the handler's own, after Text2 was set.
TEST_F(Text1Change, AFailingStepPassesToTheCaller) {
  const std::pair<const char*, std::u16string> cases[] = {{"clipboard.clear", u"00:11"},
                                                          {"clipboard.set_text", u"00:11"},
                                                          {"window.set_text Text2", u"old"}};
  for (const auto& [step, text2] : cases) {
    SCOPED_TRACE(step);
    fake::FakeForm each;
    each.platform.window.preset(Control::kText1, u"00-11");
    each.platform.window.preset(Control::kText2, u"old");
    each.platform.log.fail_on(step);
    EXPECT_THROW(each.form.Text1_Change(), Error);
    EXPECT_EQ(each.platform.log.calls().back().rfind(step, 0), 0u);
    EXPECT_EQ(each.platform.window.text(Control::kText2), text2);
  }
}

class Form1Test : public fake::FormTest {};

TEST_F(Form1Test, CloseEndsTheProgramAtOnce) {
  EXPECT_THROW(form.Command1_Click(), ProgramEnded);
  EXPECT_EQ(platform.log.calls(), Calls{"window.end_program"});
}

TEST_F(Form1Test, LoadShowsTheWindowAndServesEventsUntilClosed) {
  platform.window.pastes = {u"00-1A", u"", u"AB:CD"};
  platform.log.fail_on("clipboard.clear");  // a failing paste does not end the loop

  EXPECT_THROW(form.Form_Load(), ProgramEnded);

  // hexconvert skips its failing clipboard.clear; the change handler's own one ends it.
  const Calls effects =
      platform.log.calls_of({"window.s", "window.r", "window.e", "window.p", "clipboard."});
  const Calls expected{"window.show",
                       "window.show",
                       "window.run_event_loop",
                       "window.set_text Text1 \"00-1A\"",
                       "clipboard.clear",
                       "clipboard.set_text \"00:1a\"",
                       "window.print_line \"00:1a\"",
                       "window.set_text Text2 \"00:1a\"",
                       "window.set_focus Text2",
                       "window.select Text2 0 5",
                       "clipboard.clear",
                       "window.set_text Text1 \"\"",
                       "window.set_focus Text2",
                       "window.select Text2 0 5",
                       "clipboard.clear",
                       "window.set_text Text1 \"AB:CD\"",
                       "clipboard.clear",
                       "clipboard.set_text \"ab-cd\"",
                       "window.print_line \"ab-cd\"",
                       "window.set_text Text2 \"ab-cd\"",
                       "window.set_focus Text2",
                       "window.select Text2 0 5",
                       "clipboard.clear",
                       "window.end_program"};
  EXPECT_EQ(effects, expected);
}

}  // namespace
}  // namespace tavo
