// The command line of tavo.exe.
#pragma once

#include <string>

#include "platform/command_line.h"

namespace tavo::platform::win32 {

// GetCommandLine, read once, cut as argument_text_of cuts it; on the 9x family decoded from the
// ANSI code page.
class Win32CommandLine final : public CommandLine {
 public:
  Win32CommandLine();
  std::u16string argument_text() const override { return text_; }

 private:
  std::u16string text_;
};

}  // namespace tavo::platform::win32
