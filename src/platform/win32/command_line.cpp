// The command line of tavo.exe.
#include "platform/win32/services.h"

#include "platform/win32/api.h"
#include "platform/win32/rules.h"

namespace tavo::platform::win32 {

Win32CommandLine::Win32CommandLine() : text_(argument_text_of(api::calls().command_line())) {}

}  // namespace tavo::platform::win32
