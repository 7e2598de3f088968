// The program's command line as one text.
#pragma once

#include <memory>
#include <string>

namespace tavo::platform {

class CommandLine {
 public:
  virtual ~CommandLine() = default;
  // The command line without the program's own name: on Windows the rest of the line after the
  // name and the one blank that follows it, every other blank kept; elsewhere the arguments
  // joined by single blanks. The same text every time.
  virtual std::u16string argument_text() const = 0;
};

// The command line, read once: on Windows from the system, as it was typed (`argc` and `argv`
// go unused); elsewhere from `argv`, as main received it.
std::unique_ptr<CommandLine> make_command_line(int argc, const char* const* argv);

}  // namespace tavo::platform
