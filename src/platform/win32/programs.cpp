// Starting programs from tavo.exe.
#include "platform/win32/services.h"

#include "platform/win32/api.h"

namespace tavo::platform::win32 {

void Win32Programs::start_script(std::u16string_view path, int show) {
  // Quoted, so that a folder name with a blank cannot start another program.
  std::u16string command;
  command.reserve(path.size() + 2);
  command.append(1, u'"').append(path).append(1, u'"');
  if (!api::calls().create_process(command, show)) {
    throw api::last_error("cannot start " + api::for_message(path));
  }
}

}  // namespace tavo::platform::win32
