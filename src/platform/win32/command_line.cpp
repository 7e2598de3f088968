// The command line of tavo.exe.
#include "platform/command_line.h"

#include "platform/win32/api.h"
#include "platform/win32/rules.h"

namespace tavo::platform::win32 {

namespace {

// GetCommandLine, read once, cut as argument_text_of cuts it; on the 9x family decoded from the
// ANSI code page.
class Win32CommandLine final : public CommandLine {
 public:
  Win32CommandLine() : text_(argument_text_of(api::calls().command_line())) {}
  std::u16string argument_text() const override { return text_; }

 private:
  std::u16string text_;
};

}  // namespace

}  // namespace tavo::platform::win32

auto tavo::platform::make_command_line(int, const char* const*) -> std::unique_ptr<CommandLine> {
  return std::make_unique<win32::Win32CommandLine>();
}
