// Every conversion publishes: clipboard, TAVO, the command script, a line on the window.
#include "publish/publication.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/fake_form.h"
#include "fakes/fake_platform.h"
#include "frontend/form1.h"
#include "platform/posix/utf.h"

namespace tavo {
namespace {

using fake::Calls;
using platform::posix::to_utf8;

// The calls of one publication of `text` (as it appears in the log) with "temp" = C:\Temp.
Calls published(const std::string& text, const std::string& script_line) {
  return {"env.get temp",
          "clipboard.clear",
          "clipboard.set_text \"" + text + "\"",
          "env.set TAVO \"" + text + "\"",
          "system.platform_id",
          "registry.create_key HKCU \"Environment\"",
          "registry.set_string 1 \"TAVO\" \"" + text + "\"",
          "registry.close_key 1",
          "messages.broadcast \"Environment\" 5000",
          "files.remove \"C:\\Temp\\wmac.cmd\"",
          "files.open_append \"C:\\Temp\\wmac.cmd\" oem",
          "file.write \"@set tavo=\\r\\n\"",
          "file.write \"" + script_line + "\\r\\n\"",
          "file.close",
          "programs.start_script \"C:\\Temp\\wmac.cmd\" 2",
          "window.print_line \"" + text + "\""};
}

class Hexconvert : public fake::FormTest {};

TEST_F(Hexconvert, PublishesInFourPlacesInOrder) {
  EXPECT_EQ(form.hexconvert(u"00:1A:2B:33:44:55", 1), u"00-1a-2b-33-44-55");
  EXPECT_EQ(platform.log.calls(), published("00-1a-2b-33-44-55", "@set tavo=00-1a-2b-33-44-55"));
  EXPECT_EQ(platform.clipboard.text(), u"00-1a-2b-33-44-55");
  EXPECT_EQ(platform.files.files.at("C:\\Temp\\wmac.cmd"),
            "@set tavo=\r\n@set tavo=00-1a-2b-33-44-55\r\n");
}

TEST_F(Hexconvert, TwoCallsLeaveOnlyTheSecondScript) {
  form.hexconvert(u"00:11", 1);
  form.hexconvert(u"AA-BB", 2);
  EXPECT_EQ(platform.files.files.at("C:\\Temp\\wmac.cmd"), "@set tavo=\r\n@set tavo=aa:bb\r\n");
}

TEST_F(Hexconvert, AnEmptyResultIsPublishedAllTheSame) {
  for (const auto& [wert, start] : {std::pair<std::u16string, std::int16_t>{u"", 1},
                                    {u"00:11", 0},
                                    {u"00:11", 8},
                                    {u"00:11", -1}}) {
    fake::FakeForm each;
    EXPECT_EQ(each.form.hexconvert(wert, start), u"");
    EXPECT_EQ(each.platform.log.calls(), published("", "@set tavo="));
  }
}

TEST_F(Hexconvert, UnsetTempPutsTheScriptInTheRoot) {
  platform.environment.variables.clear();
  form.hexconvert(u"00-11", 2);
  EXPECT_EQ(platform.files.files.count("\\wmac.cmd"), 1u);
  EXPECT_EQ(platform.log.calls_of({"programs."}), Calls{"programs.start_script \"\\wmac.cmd\" 2"});
}

// Each step in turn fails: every later step of the publication still runs, and the text is
// still returned. (What SetEnvironVar does after a failure of its own is its own business.)
TEST_F(Hexconvert, AFailingStepIsSkipped) {
  const Calls all = published("00-11", "@set tavo=00-11");
  // The publication's own steps, by kind; SetEnvironVar's inner calls are left out.
  const auto own_steps = [](const Calls& calls) {
    Calls kinds;
    for (const std::string& call : calls) {
      const std::string kind = call.substr(0, call.find(' '));
      if (kind != "env.set" && kind.rfind("system.", 0) != 0 && kind.rfind("registry.", 0) != 0 &&
          kind.rfind("messages.", 0) != 0) {
        kinds.push_back(kind);
      }
    }
    return kinds;
  };
  for (const std::string& failing : all) {
    SCOPED_TRACE(failing);
    fake::FakeForm each;
    each.platform.log.fail_on(failing);
    EXPECT_EQ(each.form.hexconvert(u"00:11", 1), u"00-11");
    Calls expected = own_steps(all);
    // With no file open, the writes and the close fail before they reach the file.
    if (failing.rfind("files.open_append", 0) == 0) {
      std::erase_if(expected, [](const std::string& kind) { return kind.rfind("file.", 0) == 0; });
    }
    // A folder that cannot be told gets no script at all.
    if (failing.rfind("env.get", 0) == 0) {
      std::erase_if(expected, [](const std::string& kind) {
        return kind.rfind("file", 0) == 0 || kind.rfind("programs.", 0) == 0;
      });
    }
    // A script not written whole is deleted again instead of started.
    if (failing.rfind("file", 0) == 0 && failing.rfind("files.remove", 0) != 0) {
      std::replace(expected.begin(), expected.end(), std::string("programs.start_script"),
                   std::string("files.remove"));
    }
    EXPECT_EQ(own_steps(each.platform.log.calls()), expected);
    const Calls& calls = each.platform.log.calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), failing), calls.end());
  }
}

TEST_F(Hexconvert, AMissingTempFolderLosesOnlyTheScript) {
  platform.log.fail_on("files.open_append");
  EXPECT_EQ(form.hexconvert(u"00:11", 1), u"00-11");
  EXPECT_EQ(platform.clipboard.text(), u"00-11");
  EXPECT_EQ(platform.registry.values.at("HKCU\\Environment\\TAVO"), "00-11");
  EXPECT_EQ(platform.log.calls().back(), "window.print_line \"00-11\"");
  EXPECT_EQ(platform.files.files.count("C:\\Temp\\wmac.cmd"), 0u);
}

TEST_F(Hexconvert, AHeldClipboardLosesOnlyTheClipboard) {
  platform.log.fail_on("clipboard.");
  form.hexconvert(u"00:11", 1);
  EXPECT_EQ(platform.clipboard.text(), u"");
  EXPECT_EQ(platform.registry.values.at("HKCU\\Environment\\TAVO"), "00-11");
  EXPECT_EQ(platform.files.files.at("C:\\Temp\\wmac.cmd"), "@set tavo=\r\n@set tavo=00-11\r\n");
}

TEST_F(Hexconvert, HostileTextIsEscapedInTheScript) {
  EXPECT_EQ(form.hexconvert(u"A&:%|", 1), u"a&-%|");
  EXPECT_EQ(platform.files.files.at("C:\\Temp\\wmac.cmd"), "@set tavo=\r\n@set tavo=a^&-%%^|\r\n");
}

TEST_F(Hexconvert, TextNoScriptCanHoldGetsNone) {
  // A line break ends a batch line; a lone surrogate has no encoding in the console's code
  // page, and neither has a character that it lacks, though the ANSI code page may have it.
  const std::pair<std::u16string, std::u16string> cases[] = {{u"a\nb", u"a\n:b"},
                                                             {u"\xD800"
                                                              u"b",
                                                              u"\xD800"
                                                              u"b"},
                                                             {u"\u20AC1", u"\u20AC1"}};
  for (const auto& [wert, result] : cases) {
    SCOPED_TRACE(to_utf8(result));
    fake::FakeForm each;
    each.platform.files.oem_lacks = u"\u20AC";
    each.platform.files.files["C:\\Temp\\wmac.cmd"] = "@set tavo=\r\n@set tavo=old\r\n";
    EXPECT_EQ(each.form.hexconvert(wert, 7), result);
    EXPECT_EQ(each.platform.files.files.count("C:\\Temp\\wmac.cmd"), 0u);  // the stale one is gone
    EXPECT_EQ(each.platform.log.calls_of({"files.open", "file.", "programs."}), Calls{});
    EXPECT_EQ(each.platform.clipboard.text(), result);
    EXPECT_EQ(each.platform.log.calls().back(), "window.print_line " + fake::quoted(result));
  }
}

TEST_F(Hexconvert, AScriptNotWrittenWholeIsDeletedAndNotStarted) {
  platform.log.fail_on("file.write \"@set tavo=00");
  form.hexconvert(u"00:11", 1);
  EXPECT_EQ(platform.files.files.count("C:\\Temp\\wmac.cmd"), 0u);
  EXPECT_EQ(platform.log.calls_of({"programs."}), Calls{});
}

}  // namespace
}  // namespace tavo
