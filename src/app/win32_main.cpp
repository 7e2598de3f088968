// Entry point of tavo.exe: Form1 over the Win32 services; the usage and failures reported.
#include <windows.h>

#include <cstring>
#include <string>

#include "base/error.h"
#include "frontend/form1.h"
#include "frontend/usage.h"
#include "platform/win32/api.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/window.h"

namespace {

// Writes `text` to the standard handle `which` (STD_OUTPUT_HANDLE or STD_ERROR_HANDLE) that the
// program that started tavo gave it, such as a file or a pipe, or else to that program's
// console; false when there is neither. AttachConsole is looked up at run time, since 9x lacks it.
bool write_console(const std::string& text, DWORD which) {
  HANDLE target = GetStdHandle(which);
  bool own_handle = false;
  if (target == nullptr || target == INVALID_HANDLE_VALUE) {
    const auto attach =
        tavo::platform::win32::api::kernel32_function<BOOL(WINAPI*)(DWORD)>("AttachConsole");
    if (attach == nullptr || !attach(static_cast<DWORD>(-1)))
      return false;  // ATTACH_PARENT_PROCESS
    target = tavo::platform::win32::api::calls().create_file(u"CONOUT$", GENERIC_WRITE,
                                                             FILE_SHARE_WRITE, OPEN_EXISTING);
    if (target == INVALID_HANDLE_VALUE) return false;
    own_handle = true;
  }
  DWORD written = 0;
  const BOOL ok =
      WriteFile(target, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  if (own_handle) CloseHandle(target);
  return ok != FALSE;
}

// The usage where the user can see it: on the NT family on standard output, as every Windows
// tool writes it, so that "tavo.exe /? > help.txt" and "tavo.exe /? | more" get it, or else on
// the console that started tavo; elsewhere (every 9x, whose GUI programs have no standard
// handles, and NT started from Explorer) in a message box.
void answer_usage() {
  namespace api = tavo::platform::win32::api;
  const std::string text = tavo::usage(api::unicode() ? tavo::kNtUsage : tavo::k9xUsage);
  if (api::unicode() && write_console(text, STD_OUTPUT_HANDLE)) return;
  api::calls().show_message(std::u16string(text.begin(), text.end()),
                            u"TAVO");  // the usage is ASCII
}

void report(const std::string& message) {
  write_console("tavo: " + message + "\r\n", STD_ERROR_HANDLE);
}

// Reports `failure` and ends at once, as a normal end does, with status 1. Tearing the shown
// window down on the way out of WinMain first costs about two seconds under Wine.
[[noreturn]] void fail_now(const std::exception& failure) {
  report(failure.what());
  ExitProcess(1);
}

}  // namespace

// The ANSI entry, which the C runtime of both families can start; the argument text is read
// from the system as it was typed, not from here.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  try {
    namespace platform = tavo::platform;
    namespace win32 = tavo::platform::win32;
    win32::FormWindow window(instance);
    win32::Win32Clipboard clipboard(window.handle());
    // Read from the system as typed: the C runtime's own argument vector is not asked for, as
    // the runtimes of 95 and NT 4.0 do not export it.
    const auto command_line = platform::make_command_line(0, nullptr);
    // The only text answered instead of converted: the usage, and nothing is published.
    if (command_line->argument_text() == u"/?") {
      answer_usage();
      ExitProcess(0);
    }
    platform::Backend backend;
    const platform::Services services = backend.services(window, clipboard, *command_line);
    tavo::Form1 form(services);  // which keeps a reference to `services`
    try {
      form.Form_Load();
    } catch (const std::exception& failure) {  // tavo::Error, and std::bad_alloc and the like
      fail_now(failure);
    }
  } catch (const std::exception& failure) {  // the window could not be made
    fail_now(failure);
  }
  return 0;
}
