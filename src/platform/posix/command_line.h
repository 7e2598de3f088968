// The command line of the Linux build.
#pragma once

#include <string>

#include "platform/command_line.h"

namespace tavo::platform::posix {

// The arguments after the program's name, joined by single blanks; UTF-8 is expected.
class ArgumentList final : public CommandLine {
 public:
  ArgumentList(int argc, const char* const* argv);
  std::u16string argument_text() const override { return text_; }

 private:
  std::u16string text_;
};

}  // namespace tavo::platform::posix
