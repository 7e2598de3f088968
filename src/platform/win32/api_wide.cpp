// The W form of each call that has two, for the NT family: full Unicode.
#include <cstring>

#include "platform/win32/api.h"
#include "platform/win32/code_page.h"

namespace tavo::platform::win32::api {

namespace {

constexpr int kArrow = 32512;  // IDC_ARROW

bool register_class(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, int icon_id,
                    HBRUSH background) {
  WNDCLASSEXW form_class{};
  form_class.cbSize = sizeof form_class;
  form_class.lpfnWndProc = procedure;
  form_class.hInstance = instance;
  form_class.hbrBackground = background;
  // The icon at its own size (96 x 21); the system scales it where it draws it.
  form_class.hIcon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(icon_id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
  form_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(kArrow));
  form_class.lpszClassName = name;
  return RegisterClassExW(&form_class) != 0;
}

HWND create_window(DWORD ex_style, const wchar_t* class_name, const wchar_t* caption, DWORD style,
                   int left, int top, int width, int height, HWND parent, HMENU menu,
                   HINSTANCE instance, void* parameter) {
  return CreateWindowExW(ex_style, class_name, caption, style, left, top, width, height, parent,
                         menu, instance, parameter);
}

bool set_window_text(HWND window, std::u16string_view text) {
  return SetWindowTextW(window, to_wide(text).c_str()) != 0;
}

std::u16string window_text(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, buffer.data(), length + 1);
  buffer.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return from_wide(buffer);
}

std::size_t same_position(std::u16string_view, std::size_t position) {
  return position;
}

std::optional<int> line_height(HDC surface) {
  TEXTMETRICW metrics{};
  if (!GetTextMetricsW(surface, &metrics)) return std::nullopt;
  return metrics.tmHeight + metrics.tmExternalLeading;
}

HGLOBAL clipboard_text(std::u16string_view text, UINT& format) {
  format = CF_UNICODETEXT;
  const std::size_t size = text.size() * sizeof(char16_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + sizeof(char16_t));
  if (memory == nullptr) return nullptr;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(target, text.data(), size);  // the zero-filled rest ends the text
  GlobalUnlock(memory);
  return memory;
}

void show_message(std::u16string_view text, std::u16string_view caption) {
  MessageBoxW(nullptr, to_wide(text).c_str(), to_wide(caption).c_str(),
              MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}

HANDLE create_file(std::u16string_view path, DWORD access, DWORD share, DWORD disposition) {
  return CreateFileW(to_wide(path).c_str(), access, share, nullptr, disposition,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool delete_file(std::u16string_view path) {
  return DeleteFileW(to_wide(path).c_str()) != 0;
}

bool create_process(std::u16string_view command_line, int show) {
  std::wstring command = to_wide(command_line);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

std::u16string environment_variable(std::u16string_view name) {
  const std::wstring key = to_wide(name);
  const DWORD needed = GetEnvironmentVariableW(key.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::wstring value(needed, L'\0');
  const DWORD length = GetEnvironmentVariableW(key.c_str(), value.data(), needed);
  value.resize(length < needed ? length : 0);
  return from_wide(value);
}

std::u16string command_line() {
  const wchar_t* line = GetCommandLineW();
  return line != nullptr ? from_wide(line) : std::u16string();
}

// A date or time text through `read(buffer, size)`, which returns its length with the
// terminating zero, as GetDateFormat does, or 0.
template <typename Read>
std::optional<std::u16string> formatted(Read read) {
  wchar_t text[128] = {};
  const int length = read(text, static_cast<int>(sizeof text / sizeof text[0]));
  if (length <= 0) return std::nullopt;
  return from_wide(std::wstring_view(text, static_cast<std::size_t>(length) - 1));
}

std::optional<std::u16string> short_date() {
  return formatted([](wchar_t* text, int size) {
    return GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, size);
  });
}

std::optional<std::u16string> time_of_day() {
  return formatted([](wchar_t* text, int size) {
    return GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, size);
  });
}

HMODULE system_dll(const char* name) {
  return GetModuleHandleW(std::wstring(name, name + std::strlen(name)).c_str());
}

}  // namespace

const Calls& wide_calls() {
  static const Calls table{.send = &SendMessageW,
                           .post = &PostMessageW,
                           .default_procedure = &DefWindowProcW,
                           .get = &GetMessageW,
                           .is_dialog_message = &IsDialogMessageW,
                           .dispatch = &DispatchMessageW,
                           .get_long = &GetWindowLongPtrW,
                           .set_long = &SetWindowLongPtrW,
                           .register_class = &register_class,
                           .create_window = &create_window,
                           .set_window_text = &set_window_text,
                           .window_text = &window_text,
                           .edit_position = &same_position,
                           .text_units = &same_position,
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
