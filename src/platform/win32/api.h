// The Win32 calls that have an A and a W form, bound once to the form the running system has.
//
// Windows 95, 98 and ME export the W functions, but almost all of them are stubs that fail with
// ERROR_CALL_NOT_IMPLEMENTED; asking GetProcAddress would find them all the same. So the family
// is read once from GetVersionExA's platform id, and one table of calls is chosen for it: the W
// forms and full Unicode on the NT family (api_wide.cpp), the A forms and the ANSI code page on
// the 9x family (api_ansi.cpp). Every caller goes through the table and never asks which family
// it runs on.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/error.h"

namespace tavo::platform::win32::api {

// GetVersionExA's platform id: 2 on the NT family, 1 on 95, 98 and ME; 0 when it fails.
std::uint32_t platform_id();
// True on the NT family. Read once, at the first call of anything here.
bool unicode();

// Every call whose A and W forms differ. Text is the core's UTF-16; the A forms take and give it
// in the ANSI code page.
struct Calls {
  // Messages and window calls whose two forms take the same arguments.
  decltype(&SendMessageW) send;
  decltype(&PostMessageW) post;
  decltype(&DefWindowProcW) default_procedure;
  decltype(&GetMessageW) get;
  decltype(&IsDialogMessageW) is_dialog_message;
  decltype(&DispatchMessageW) dispatch;
  decltype(&GetWindowLongPtrW) get_long;
  decltype(&SetWindowLongPtrW) set_long;

  // Registers a window class whose procedure gets the messages in this system's form; `icon_id`
  // names an icon resource of `instance`. False when the system refuses.
  bool (*register_class)(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, int icon_id,
                         HBRUSH background);
  // CreateWindowEx with ASCII class and caption names.
  HWND(*create_window)
  (DWORD ex_style, const wchar_t* class_name, const wchar_t* caption, DWORD style, int left,
   int top, int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* parameter);
  bool (*set_window_text)(HWND window, std::u16string_view text);
  std::u16string (*window_text)(HWND window);
  // A position in `text` in UTF-16 units, as this system's edit box counts it (bytes on the 9x
  // family), and back.
  std::size_t (*edit_position)(std::u16string_view text, std::size_t units);
  std::size_t (*text_units)(std::u16string_view text, std::size_t edit_position);
  // The height of a line of text in the font selected into `surface`, or nullopt.
  std::optional<int> (*line_height)(HDC surface);
  // The memory to hand to SetClipboardData for `text`, and its clipboard format; null when out
  // of memory.
  HGLOBAL (*clipboard_text)(std::u16string_view text, UINT& format);
  // A message box with an OK button, owned by no window; returns when it is closed.
  void (*show_message)(std::u16string_view text, std::u16string_view caption);

  // CreateFile; INVALID_HANDLE_VALUE with GetLastError() set on failure
  // (ERROR_NO_UNICODE_TRANSLATION when the 9x family cannot name the file).
  HANDLE (*create_file)(std::u16string_view path, DWORD access, DWORD share, DWORD disposition);
  bool (*delete_file)(std::u16string_view path);
  // Starts `command_line` with the window state `show`; the handles are closed.
  bool (*create_process)(std::u16string_view command_line, int show);
  // The variable's value; empty when it is not set.
  std::u16string (*environment_variable)(std::u16string_view name);
  // The whole command line as the system passed it.
  std::u16string (*command_line)();
  // The date (DATE_SHORTDATE) or the time of now, in the user's locale, or nullopt.
  std::optional<std::u16string> (*short_date)();
  std::optional<std::u16string> (*time_of_day)();
  // The module handle of a system DLL that this process has loaded, named in ASCII; null if none.
  HMODULE (*system_dll)(const char* name);
};

// The table of the running system's family.
const Calls& calls();
const Calls& wide_calls();
const Calls& ansi_calls();

// The creation parameter of a window from the CREATESTRUCT of WM_NCCREATE, in either form.
void* creation_parameter(LPARAM lparam);

// A function of a loaded system DLL that not every Windows has, as `Function`; null where it is
// missing. Such calls are never imported, so that the exe still loads where they are missing.
FARPROC system_address(const char* dll, const char* name);
template <typename Function>
Function system_function(const char* dll, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(system_address(dll, name)));
}
// Of kernel32.dll: AttachConsole, which 9x lacks, and IsProcessorFeaturePresent, which 95 lacks.
template <typename Function>
Function kernel32_function(const char* name) {
  return system_function<Function>("kernel32.dll", name);
}

// The calls of the environment publisher, in their A form on both families, by design: the
// variable, its registry value and the broadcast carry the ANSI code page's text, so a value
// outside it is refused (ERROR_NO_UNICODE_TRANSLATION) rather than stored differently.
bool set_environment_variable_a(std::u16string_view name, std::u16string_view value);
LONG reg_create_key_a(HKEY root, std::u16string_view path, HKEY& key);
LONG reg_set_string_a(HKEY key, std::u16string_view name, std::u16string_view value);
void broadcast_setting_change_a(std::u16string_view section, UINT timeout_ms);

// "WHAT: <the system's message for GetLastError()>", as the error that a backend throws.
Error last_error(const std::string& what);
// `text` for a message: ASCII kept, every other character as "?".
std::string for_message(std::u16string_view text);

}  // namespace tavo::platform::win32::api
