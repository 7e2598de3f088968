// The A or W form of each call, chosen once by the family of the running Windows.
#include "platform/win32/api.h"

#include <cstring>

#include "platform/code_page.h"

namespace tavo::platform::win32 {

static_assert(kWcNoBestFitChars == WC_NO_BEST_FIT_CHARS);
static_assert(kMbErrInvalidChars == MB_ERR_INVALID_CHARS);

namespace {

std::u16string from_wide(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

// The code page of `encoding` as the conversion functions name it, and its number.
UINT code_page_id(Encoding encoding) {
  return encoding == Encoding::oem ? CP_OEMCP : CP_ACP;
}
UINT code_page_number(Encoding encoding) {
  return encoding == Encoding::oem ? GetOEMCP() : GetACP();
}

// `bytes` decoded with `flags`, or nullopt when the code page refuses them.
std::optional<std::u16string> decode_with(std::string_view bytes, Encoding encoding, DWORD flags) {
  if (bytes.empty()) return std::u16string();
  const UINT code_page = code_page_id(encoding);
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(code_page, flags, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(code_page, flags, bytes.data(), size, wide.data(), length) != length) {
    return std::nullopt;
  }
  return from_wide(wide);
}

// One conversion under `rules`; nullopt when it fails or is not exact.
std::optional<std::string> encode_with(const std::wstring& wide, Encoding encoding,
                                       const CodePageRules& rules) {
  SetLastError(NO_ERROR);
  const UINT code_page = code_page_id(encoding);
  BOOL used_default = FALSE;
  BOOL* const ask = rules.ask_default_used ? &used_default : nullptr;
  const int length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(code_page, rules.encode_flags, wide.data(), length, nullptr,
                                       0, nullptr, ask);
  if (size <= 0 || used_default) return std::nullopt;
  std::string out(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(code_page, rules.encode_flags, wide.data(), length, out.data(), size,
                          nullptr, ask) != size ||
      used_default) {
    return std::nullopt;
  }
  if (rules.compare_round_trip) {
    const auto back = decode_with(out, encoding, 0);
    if (!back || to_wide(*back) != wide) return std::nullopt;
  }
  return out;
}

std::string narrow(const wchar_t* text) {
  return to_ansi_shown(std::u16string(text, text + std::wcslen(text)));
}

// Reads a text through `read(buffer, size)`, which returns the length with the terminating
// zero as GetDateFormat does, or 0.
template <typename Char, typename Read>
std::optional<std::basic_string<Char>> read_text(Read read) {
  Char text[128] = {};
  const int length = read(text, static_cast<int>(sizeof text / sizeof text[0]));
  if (length <= 0) return std::nullopt;
  return std::basic_string<Char>(text, static_cast<std::size_t>(length) - 1);
}

template <typename Char>
std::optional<std::u16string> as_text(const std::optional<std::basic_string<Char>>& text) {
  if (!text) return std::nullopt;
  if constexpr (sizeof(Char) == 1) {
    return from_ansi(*text);
  } else {
    return from_wide(*text);
  }
}

}  // namespace

std::wstring to_wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

std::optional<std::string> encode(std::u16string_view text, Encoding encoding) {
  if (text.empty()) return std::string();
  if (text.find(u'\0') != std::u16string_view::npos) return std::nullopt;
  const std::wstring wide = to_wide(text);
  if (auto exact = encode_with(wide, encoding, code_page_rules(code_page_number(encoding)))) {
    return exact;
  }
  // Windows 95 and NT 4.0 do not know WC_NO_BEST_FIT_CHARS; with no flags at all, only the
  // round trip shows a replaced character.
  if (GetLastError() == ERROR_INVALID_FLAGS || GetLastError() == ERROR_INVALID_PARAMETER) {
    return encode_with(wide, encoding, CodePageRules{0, false, true, 0});
  }
  return std::nullopt;
}

std::string to_ansi_shown(std::u16string_view text) {
  if (text.empty()) return {};
  const std::wstring wide = to_wide(text);
  const int length = static_cast<int>(wide.size());
  const int size =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string(text.size(), '?');
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), length, out.data(), size, nullptr, nullptr);
  return out;
}

std::u16string from_ansi(std::string_view bytes) {
  constexpr Encoding kAnsi = Encoding::ansi;
  if (auto exact = decode_with(bytes, kAnsi, code_page_rules(GetACP()).decode_flags)) {
    return *exact;
  }
  if (auto shown = decode_with(bytes, kAnsi, 0)) return *shown;
  return std::u16string(bytes.size(), u'\uFFFD');
}

namespace api {

std::uint32_t platform_id() {
  OSVERSIONINFOA version{};
  static_assert(sizeof version == 148);
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return 0;
  return version.dwPlatformId;
}

bool unicode() {
  static const bool nt = platform_id() == VER_PLATFORM_WIN32_NT;
  return nt;
}

const MessageCalls& messages() {
  static const MessageCalls wide{&SendMessageW,      &PostMessageW,     &DefWindowProcW,
                                 &GetMessageW,       &IsDialogMessageW, &DispatchMessageW,
                                 &GetWindowLongPtrW, &SetWindowLongPtrW};
  static const MessageCalls ansi{&SendMessageA,      &PostMessageA,     &DefWindowProcA,
                                 &GetMessageA,       &IsDialogMessageA, &DispatchMessageA,
                                 &GetWindowLongPtrA, &SetWindowLongPtrA};
  return unicode() ? wide : ansi;
}

bool register_class(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, int icon_id,
                    HBRUSH background) {
  // The fields that do not depend on the form; the icon is loaded at its own size (96 x 21),
  // and the system scales it where it draws it.
  const auto common = [&](auto& form_class) {
    form_class.cbSize = sizeof form_class;
    form_class.lpfnWndProc = procedure;
    form_class.hInstance = instance;
    form_class.hbrBackground = background;
  };
  constexpr int kArrow = 32512;  // IDC_ARROW
  if (unicode()) {
    WNDCLASSEXW form_class{};
    common(form_class);
    form_class.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(icon_id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    form_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(kArrow));
    form_class.lpszClassName = name;
    return RegisterClassExW(&form_class) != 0;
  }
  const std::string ansi_name = narrow(name);
  WNDCLASSEXA form_class{};
  common(form_class);
  form_class.hIcon = static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(icon_id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
  form_class.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(kArrow));
  form_class.lpszClassName = ansi_name.c_str();
  return RegisterClassExA(&form_class) != 0;
}

HWND create_window(DWORD ex_style, const wchar_t* class_name, const wchar_t* caption, DWORD style,
                   int left, int top, int width, int height, HWND parent, HMENU menu,
                   HINSTANCE instance, void* parameter) {
  if (unicode()) {
    return CreateWindowExW(ex_style, class_name, caption, style, left, top, width, height, parent,
                           menu, instance, parameter);
  }
  return CreateWindowExA(ex_style, narrow(class_name).c_str(), narrow(caption).c_str(), style, left,
                         top, width, height, parent, menu, instance, parameter);
}

void* creation_parameter(LPARAM lparam) {
  // CREATESTRUCTA and CREATESTRUCTW begin alike.
  static_assert(offsetof(CREATESTRUCTA, lpCreateParams) == offsetof(CREATESTRUCTW, lpCreateParams));
  return reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams;
}

bool set_window_text(HWND window, std::u16string_view text) {
  if (unicode()) return SetWindowTextW(window, to_wide(text).c_str()) != 0;
  return SetWindowTextA(window, to_ansi_shown(text).c_str()) != 0;
}

std::u16string window_text(HWND window) {
  if (unicode()) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, buffer.data(), length + 1);
    buffer.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return from_wide(buffer);
  }
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, buffer.data(), length + 1);
  buffer.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return from_ansi(buffer);
}

std::size_t edit_position(std::u16string_view text, std::size_t units) {
  if (unicode()) return units;
  return to_ansi_shown(text.substr(0, units)).size();
}

std::size_t text_units(std::u16string_view text, std::size_t edit_position) {
  if (unicode()) return edit_position;
  const std::string bytes = to_ansi_shown(text);
  return from_ansi(std::string_view(bytes).substr(0, edit_position)).size();
}

std::optional<int> line_height(HDC surface) {
  if (unicode()) {
    TEXTMETRICW metrics{};
    if (!GetTextMetricsW(surface, &metrics)) return std::nullopt;
    return metrics.tmHeight + metrics.tmExternalLeading;
  }
  TEXTMETRICA metrics{};
  if (!GetTextMetricsA(surface, &metrics)) return std::nullopt;
  return metrics.tmHeight + metrics.tmExternalLeading;
}

HGLOBAL clipboard_text(std::u16string_view text, UINT& format) {
  std::string ansi;
  const void* data = text.data();
  std::size_t size = text.size() * sizeof(char16_t);
  std::size_t terminator = sizeof(char16_t);
  format = CF_UNICODETEXT;
  if (!unicode()) {
    ansi = to_ansi_shown(text);
    data = ansi.data();
    size = ansi.size();
    terminator = 1;
    format = CF_TEXT;
  }
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + terminator);
  if (memory == nullptr) return nullptr;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(target, data, size);  // the zero-filled rest ends the text
  GlobalUnlock(memory);
  return memory;
}

HANDLE create_file(std::u16string_view path, DWORD access, DWORD share, DWORD disposition) {
  if (unicode()) {
    return CreateFileW(to_wide(path).c_str(), access, share, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  const auto name = to_ansi(path);
  if (!name) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return INVALID_HANDLE_VALUE;
  }
  return CreateFileA(name->c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

bool delete_file(std::u16string_view path) {
  if (unicode()) return DeleteFileW(to_wide(path).c_str()) != 0;
  const auto name = to_ansi(path);
  if (!name) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return false;
  }
  return DeleteFileA(name->c_str()) != 0;
}

bool create_process(std::u16string_view command_line, int show) {
  PROCESS_INFORMATION process{};
  BOOL started = FALSE;
  if (unicode()) {
    std::wstring command = to_wide(command_line);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process);
  } else {
    auto command = to_ansi(command_line);
    if (!command) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return false;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    started = CreateProcessA(nullptr, command->data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process);
  }
  if (!started) return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

void show_message(std::u16string_view text, std::u16string_view caption) {
  constexpr UINT kStyle = MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND;
  if (unicode()) {
    MessageBoxW(nullptr, to_wide(text).c_str(), to_wide(caption).c_str(), kStyle);
    return;
  }
  MessageBoxA(nullptr, to_ansi_shown(text).c_str(), to_ansi_shown(caption).c_str(), kStyle);
}

std::u16string environment_variable(std::u16string_view name) {
  if (unicode()) {
    const std::wstring key = to_wide(name);
    const DWORD needed = GetEnvironmentVariableW(key.c_str(), nullptr, 0);
    if (needed == 0) return {};
    std::wstring value(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(key.c_str(), value.data(), needed);
    value.resize(length < needed ? length : 0);
    return from_wide(value);
  }
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
  if (unicode()) {
    const wchar_t* line = GetCommandLineW();
    return line != nullptr ? from_wide(line) : std::u16string();
  }
  const char* line = GetCommandLineA();
  return line != nullptr ? from_ansi(line) : std::u16string();
}

std::optional<std::u16string> short_date() {
  if (unicode()) {
    return as_text(read_text<wchar_t>([](wchar_t* text, int size) {
      return GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, size);
    }));
  }
  return as_text(read_text<char>([](char* text, int size) {
    return GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, size);
  }));
}

std::optional<std::u16string> time_of_day() {
  if (unicode()) {
    return as_text(read_text<wchar_t>([](wchar_t* text, int size) {
      return GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, size);
    }));
  }
  return as_text(read_text<char>([](char* text, int size) {
    return GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, size);
  }));
}

FARPROC kernel32_address(const char* name) {
  HMODULE kernel = unicode() ? GetModuleHandleW(L"kernel32.dll") : GetModuleHandleA("kernel32.dll");
  return kernel == nullptr ? nullptr : GetProcAddress(kernel, name);
}

}  // namespace api

}  // namespace tavo::platform::win32
