// Starting programs from tavo.exe.
#include "platform/programs.h"

#include "platform/win32/api.h"

namespace tavo::platform::win32 {

namespace {

// CreateProcess with the quoted script path as the whole command line; never waits.
class Win32Programs final : public Programs {
 public:
  void start_script(std::u16string_view path, int show) override;
};

void Win32Programs::start_script(std::u16string_view path, int show) {
  // Quoted, so that a folder name with a blank cannot start another program.
  std::u16string command;
  command.reserve(path.size() + 2);
  command.append(1, u'"').append(path).append(1, u'"');
  if (!api::calls().create_process(command, show)) {
    throw api::last_error("cannot start " + api::for_message(path));
  }
}

}  // namespace

}  // namespace tavo::platform::win32

auto tavo::platform::make_programs() -> std::unique_ptr<Programs> {
  return std::make_unique<win32::Win32Programs>();
}
