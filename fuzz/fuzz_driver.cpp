// Fuzzes the command-line driver and the input box's routing against the recording platform.
#include <set>
#include <vector>

#include "base/cut.h"
#include "base/error.h"
#include "convert/notation.h"
#include "fakes/fake_platform.h"
#include "frontend/driver.h"
#include "frontend/form1.h"
#include "frontend/routing.h"
#include "fuzz_input.h"
#include "lookup/lease_line.h"
#include "platform/posix/utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tavo::fuzz::Input input(data, size);
  const std::u16string text = input.latin1();

  // The words joined by single blanks give the text back.
  std::u16string joined;
  const auto words = tavo::split_words(text);
  for (std::size_t i = 0; i < words.size(); ++i) joined += (i > 0 ? u" " : u"") + words[i];
  if (joined != text) tavo::fuzz::violated();
  (void)tavo::route_text1(text);

  tavo::fake::FakePlatform platform;
  platform.command_line.text = text;
  platform.files.files["idx"] = "l\r";
  const std::u16string lease_line = u"1 - 2 - 3 - 4 - D- h.x";
  platform.files.files["l"] = tavo::platform::posix::to_utf8(lease_line) + "\r";
  tavo::Form1 form(platform.services);
  try {
    form.Form_Load();
  } catch (const tavo::fake::ProgramEnded&) {
  } catch (const tavo::Error&) {
  }

  // Whatever the driver did, what it published last is a conversion of one of the words or of
  // the whole text (which the input box converts when its last word has no separator), or the
  // lookup's address or summary: nothing else can reach the clipboard or TAVO.
  std::set<std::u16string> producible{u""};
  std::vector<std::u16string> sources = words;
  sources.push_back(text);
  for (const std::u16string& word : sources) {
    for (std::int16_t mode = 1; mode <= 7; ++mode) {
      producible.insert(tavo::convert_notation(word, mode));
    }
  }
  const auto lease = tavo::parse_lease_line(lease_line);
  producible.insert(lease->hardware);
  producible.insert(tavo::lease_summary(*lease, lease->hardware));
  const auto tavo_variable = platform.environment.variables.find(u"TAVO");
  if (tavo_variable != platform.environment.variables.end() &&
      producible.count(tavo_variable->second) == 0) {
    tavo::fuzz::violated();
  }
  if (producible.count(platform.clipboard.text()) == 0) tavo::fuzz::violated();
  return 0;
}
