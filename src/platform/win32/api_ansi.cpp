// The A form of each call that has two, for Windows 95, 98 and ME, whose W forms are stubs: text
// in the ANSI code page.
#include <cstring>

#include "platform/win32/api.h"
#include "platform/win32/code_page.h"

namespace tavo::platform::win32::api {

namespace {

constexpr int kArrow = 32512;  // IDC_ARROW

// A name or caption of ASCII, as the A forms take it.
std::string narrow(const wchar_t* text) {
  return to_ansi_shown(std::u16string(text, text + std::wcslen(text)));
}

// `text` in the ANSI code page for naming a file or a command; false, with
// ERROR_NO_UNICODE_TRANSLATION set, when the code page cannot hold it.
bool named(std::u16string_view text, std::string& ansi) {
  auto exact = to_ansi(text);
  if (!exact) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return false;
  }
  ansi = std::move(*exact);
  return true;
}

bool register_class(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, int icon_id,
                    HBRUSH background) {
  const std::string ansi_name = narrow(name);
  WNDCLASSEXA form_class{};
  form_class.cbSize = sizeof form_class;
  form_class.lpfnWndProc = procedure;
  form_class.hInstance = instance;
  form_class.hbrBackground = background;
  form_class.hIcon = static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(icon_id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
  form_class.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(kArrow));
  form_class.lpszClassName = ansi_name.c_str();
  return RegisterClassExA(&form_class) != 0;
}

HWND create_window(DWORD ex_style, const wchar_t* class_name, const wchar_t* caption, DWORD style,
                   int left, int top, int width, int height, HWND parent, HMENU menu,
                   HINSTANCE instance, void* parameter) {
  return CreateWindowExA(ex_style, narrow(class_name).c_str(), narrow(caption).c_str(), style, left,
                         top, width, height, parent, menu, instance, parameter);
}

bool set_window_text(HWND window, std::u16string_view text) {
  return SetWindowTextA(window, to_ansi_shown(text).c_str()) != 0;
}

std::u16string window_text(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, buffer.data(), length + 1);
  buffer.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return from_ansi(buffer);
}

std::size_t edit_position(std::u16string_view text, std::size_t units) {
  return to_ansi_shown(text.substr(0, units)).size();
}

std::size_t text_units(std::u16string_view text, std::size_t edit_position) {
  const std::string bytes = to_ansi_shown(text);
  return from_ansi(std::string_view(bytes).substr(0, edit_position)).size();
}

std::optional<int> line_height(HDC surface) {
  TEXTMETRICA metrics{};
  if (!GetTextMetricsA(surface, &metrics)) return std::nullopt;
  return metrics.tmHeight + metrics.tmExternalLeading;
}

HGLOBAL clipboard_text(std::u16string_view text, UINT& format) {
  format = CF_TEXT;
  const std::string ansi = to_ansi_shown(text);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, ansi.size() + 1);
  if (memory == nullptr) return nullptr;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(target, ansi.data(), ansi.size());  // the zero-filled rest ends the text
  GlobalUnlock(memory);
  return memory;
}

void show_message(std::u16string_view text, std::u16string_view caption) {
  MessageBoxA(nullptr, to_ansi_shown(text).c_str(), to_ansi_shown(caption).c_str(),
              MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}

HANDLE create_file(std::u16string_view path, DWORD access, DWORD share, DWORD disposition) {
  std::string name;
  if (!named(path, name)) return INVALID_HANDLE_VALUE;
  return CreateFileA(name.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

bool delete_file(std::u16string_view path) {
  std::string name;
  return named(path, name) && DeleteFileA(name.c_str()) != 0;
}

bool create_process(std::u16string_view command_line, int show) {
  std::string command;
  if (!named(command_line, command)) return false;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

std::u16string environment_variable(std::u16string_view name) {
  const auto key = to_ansi(name);
  if (!key) return {};
  const DWORD needed = GetEnvironmentVariableA(key->c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::string value(needed, '\0');
  const DWORD length = GetEnvironmentVariableA(key->c_str(), value.data(), needed);
  value.resize(length < needed ? length : 0);
  return from_ansi(value);
}

std::u16string command_line() {
  const char* line = GetCommandLineA();
  return line != nullptr ? from_ansi(line) : std::u16string();
}

// A date or time text through `read(buffer, size)`, which returns its length with the
// terminating zero, as GetDateFormat does, or 0.
template <typename Read>
std::optional<std::u16string> formatted(Read read) {
  char text[128] = {};
  const int length = read(text, static_cast<int>(sizeof text));
  if (length <= 0) return std::nullopt;
  return from_ansi(std::string_view(text, static_cast<std::size_t>(length) - 1));
}

std::optional<std::u16string> short_date() {
  return formatted([](char* text, int size) {
    return GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, size);
  });
}

std::optional<std::u16string> time_of_day() {
  return formatted([](char* text, int size) {
    return GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, size);
  });
}

HMODULE system_dll(const char* name) {
  return GetModuleHandleA(name);
}

}  // namespace

const Calls& ansi_calls() {
  static const Calls table{.send = &SendMessageA,
                           .post = &PostMessageA,
                           .default_procedure = &DefWindowProcA,
                           .get = &GetMessageA,
                           .is_dialog_message = &IsDialogMessageA,
                           .dispatch = &DispatchMessageA,
                           .get_long = &GetWindowLongPtrA,
                           .set_long = &SetWindowLongPtrA,
                           .register_class = &register_class,
                           .create_window = &create_window,
                           .set_window_text = &set_window_text,
                           .window_text = &window_text,
                           .edit_position = &edit_position,
                           .text_units = &text_units,
                           .line_height = &line_height,
                           .clipboard_text = &clipboard_text,
                           .show_message = &show_message,
                           .create_file = &create_file,
                           .delete_file = &delete_file,
                           .create_process = &create_process,
                           .environment_variable = &environment_variable,
                           .command_line = &command_line,
                           .short_date = &short_date,
                           .time_of_day = &time_of_day,
                           .system_dll = &system_dll};
  return table;
}

}  // namespace tavo::platform::win32::api
