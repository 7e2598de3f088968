// The Win32 calls that have an A and a W form, bound once to the form the running system has.
//
// Windows 95, 98 and ME export the W functions, but almost all of them are stubs that fail with
// ERROR_CALL_NOT_IMPLEMENTED; asking GetProcAddress would find them all the same. So the family
// is read once from GetVersionExA's platform id: the NT family gets the W forms and full
// Unicode, the 9x family the A forms and the ANSI code page. Every caller goes through here and
// never asks which family it runs on.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace tavo::platform::win32 {

// The core's UTF-16 text as the W functions take it.
std::wstring to_wide(std::u16string_view text);

// `text` in the ANSI or the OEM code page exactly, or nullopt when the code page cannot hold it
// (no best-fit replacement, no default character) or it holds a NUL.
std::optional<std::string> encode(std::u16string_view text, Encoding encoding);
inline std::optional<std::string> to_ansi(std::u16string_view text) {
  return encode(text, Encoding::ansi);
}
// `text` in the ANSI code page for showing: what the code page cannot hold becomes its default
// character. Never fails.
std::string to_ansi_shown(std::u16string_view text);
// Bytes in the ANSI code page as text. A sequence that the code page does not define is
// decoded as the system decodes it for display. Never fails.
std::u16string from_ansi(std::string_view bytes);

// The messages and window calls whose A and W forms take the same arguments.
struct MessageCalls {
  decltype(&SendMessageW) send;
  decltype(&PostMessageW) post;
  decltype(&DefWindowProcW) default_procedure;
  decltype(&GetMessageW) get;
  decltype(&IsDialogMessageW) is_dialog_message;
  decltype(&DispatchMessageW) dispatch;
  decltype(&GetWindowLongPtrW) get_long;
  decltype(&SetWindowLongPtrW) set_long;
};

namespace api {

// GetVersionExA's platform id: 2 on the NT family, 1 on 95, 98 and ME; 0 when it fails.
std::uint32_t platform_id();
// True on the NT family. Read once, at the first call of anything here.
bool unicode();

const MessageCalls& messages();

// Registers a window class whose procedure gets the messages in this system's form. `icon_id`
// names an icon resource of `instance`. False when the system refuses.
bool register_class(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, int icon_id,
                    HBRUSH background);
// CreateWindowEx with ASCII class and caption names.
HWND create_window(DWORD ex_style, const wchar_t* class_name, const wchar_t* caption, DWORD style,
                   int left, int top, int width, int height, HWND parent, HMENU menu,
                   HINSTANCE instance, void* parameter);
// The creation parameter of a window from the CREATESTRUCT of WM_NCCREATE.
void* creation_parameter(LPARAM lparam);

bool set_window_text(HWND window, std::u16string_view text);
std::u16string window_text(HWND window);
// A position in `text` in UTF-16 units, as the edit box of this system counts it (bytes on
// the 9x family), and back.
std::size_t edit_position(std::u16string_view text, std::size_t units);
std::size_t text_units(std::u16string_view text, std::size_t edit_position);
// The height of a line of text in the font selected into `surface`, or nullopt.
std::optional<int> line_height(HDC surface);

// The memory to hand to SetClipboardData for `text`, and its clipboard format; null when out of
// memory.
HGLOBAL clipboard_text(std::u16string_view text, UINT& format);

// CreateFile for a path given as text; INVALID_HANDLE_VALUE with GetLastError() set on failure
// (ERROR_NO_UNICODE_TRANSLATION when the 9x family cannot name the file).
HANDLE create_file(std::u16string_view path, DWORD access, DWORD share, DWORD disposition);
bool delete_file(std::u16string_view path);
// Starts `command_line` with the window state `show`; the handles are closed.
bool create_process(std::u16string_view command_line, int show);

// A message box with an OK button, owned by no window; returns when it is closed.
void show_message(std::u16string_view text, std::u16string_view caption);

// The variable's value; empty when it is not set.
std::u16string environment_variable(std::u16string_view name);
// The whole command line as the system passed it.
std::u16string command_line();
// The date (DATE_SHORTDATE) or the time of now, in the user's locale, or nullopt.
std::optional<std::u16string> short_date();
std::optional<std::u16string> time_of_day();

// A function of kernel32.dll that not every Windows has (AttachConsole, which 9x lacks, and
// IsProcessorFeaturePresent, which 95 lacks), as `Function`; null where it is missing.
FARPROC kernel32_address(const char* name);
template <typename Function>
Function kernel32_function(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(kernel32_address(name)));
}

}  // namespace api

}  // namespace tavo::platform::win32
