// Form1, the program's only window and the composition root of tavo.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clipboard.h"
#include "platform/window.h"

namespace tavo {

// The platform services that Form1 works through; they outlive it.
struct Services {
  platform::Window& window;
  platform::Clipboard& clipboard;
};

// Public operations and event handlers keep the names the program has always used.
class Form1 final : private platform::WindowEvents {
 public:
  explicit Form1(Services services);

  // Converts `wert` in conversion mode `start` and returns the result.
  std::u16string hexconvert(std::u16string_view wert, std::int16_t start);
  // `a` lower-cased, length unchanged.
  static std::u16string lower(std::u16string_view a);

  // Shows the window and services its events until the program ends; never returns.
  [[noreturn]] void Form_Load();
  // Converts Text1's text by its shape, shows the result in Text2, leaves it on the clipboard
  // and selects the whole input again. Failures of the window or clipboard pass to the caller.
  void Text1_Change();
  // Ends the program at once.
  [[noreturn]] void Command1_Click();

 private:
  void text1_changed() override { Text1_Change(); }
  void command1_clicked() override { Command1_Click(); }
  // The title-bar close box ends the program like "Close".
  void close_requested() override { Command1_Click(); }

  void select_all(platform::Control control);

  Services services_;
};

}  // namespace tavo
