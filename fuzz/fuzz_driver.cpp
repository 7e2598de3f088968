// Fuzzes the command-line driver and the input box's routing against the recording platform.
#include "base/error.h"
#include "convert/cut.h"
#include "fakes/fake_platform.h"
#include "frontend/driver.h"
#include "frontend/form1.h"
#include "frontend/routing.h"
#include "fuzz_input.h"

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
  platform.files.files["l"] = "1 - 2 - 3 - 4 - D- h.x\r";
  tavo::Form1 form(platform.services);
  try {
    form.Form_Load();
  } catch (const tavo::fake::ProgramEnded&) {
  } catch (const tavo::Error&) {
  }
  return 0;
}
