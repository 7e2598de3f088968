// Form1, the program's only window: the operations that the rest of tavo calls, and its handlers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/services.h"
#include "publish/environ_publisher.h"

namespace tavo {

// Public operations and event handlers keep the names the program has always used.
class Form1 final : private platform::WindowEvents {
 public:
  // `services` must outlive the form.
  explicit Form1(const platform::Services& services);

  // Converts `wert` in conversion mode `start`, publishes the result (clipboard, TAVO, the
  // command script, a line on the window) and returns it. Never fails.
  std::u16string hexconvert(std::u16string_view wert, std::int16_t start);
  // Sets a variable in the process and persistently; true when the persistent store was
  // written.
  bool SetEnvironVar(std::u16string_view VariableName, std::u16string_view VariableValue,
                     bool systemwide) {
    return publisher_.SetEnvironVar(VariableName, VariableValue, systemwide);
  }
  // The lease lookup for the argument text `wert` ("/dhcp INDEXFILE TERM"). Its first failure
  // passes to the caller as a tavo::Error; what was done before stays done.
  void readdhcp(std::u16string_view wert);
  // `a` lower-cased, length unchanged.
  static std::u16string lower(std::u16string_view a);

  // Shows the window and runs the command-line driver. With a non-empty argument text the driver
  // ends the program; otherwise the window services its events until "Close" ends it. A failure
  // that stops the driver passes to the caller.
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

  // Acts on the argument text and ends the program; returns only when the text is empty.
  void command_line_driver();
  void select_all(platform::Control control);
  // Clears the clipboard, then puts there the text that `text()` gives; failures pass to the
  // caller.
  template <typename Text>
  void put_on_clipboard(const Text& text) {
    services_.clipboard.clear();
    services_.clipboard.set_text(text());
  }

  const platform::Services& services_;
  EnvironPublisher publisher_;
};

}  // namespace tavo
