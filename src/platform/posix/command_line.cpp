// The command line of the Linux build.
#include "platform/command_line.h"

#include "platform/posix/utf.h"

namespace tavo::platform::posix {

namespace {

// The arguments after the program's name, joined by single blanks; UTF-8 is expected.
class ArgumentList final : public CommandLine {
 public:
  ArgumentList(int argc, const char* const* argv) {
    std::string joined;
    for (int i = 1; i < argc; ++i) {
      if (i > 1) joined.push_back(' ');
      joined += argv[i];
    }
    text_ = from_utf8(joined);
  }
  std::u16string argument_text() const override { return text_; }

 private:
  std::u16string text_;
};

}  // namespace

}  // namespace tavo::platform::posix

auto tavo::platform::make_command_line(int argc, const char* const* argv)
    -> std::unique_ptr<CommandLine> {
  return std::make_unique<posix::ArgumentList>(argc, argv);
}
