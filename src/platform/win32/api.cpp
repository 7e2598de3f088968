// The family of the running Windows, the table of calls chosen for it, and the calls that are
// the same, or made in their A form, on both families.
#include "platform/win32/api.h"

#include "platform/win32/code_page.h"

namespace tavo::platform::win32::api {

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

const Calls& calls() {
  static const Calls& chosen = unicode() ? wide_calls() : ansi_calls();
  return chosen;
}

void* creation_parameter(LPARAM lparam) {
  // CREATESTRUCTA and CREATESTRUCTW begin alike.
  static_assert(offsetof(CREATESTRUCTA, lpCreateParams) == offsetof(CREATESTRUCTW, lpCreateParams));
  return reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams;
}

FARPROC system_address(const char* dll, const char* name) {
  HMODULE module = calls().system_dll(dll);
  return module == nullptr ? nullptr : GetProcAddress(module, name);
}

bool set_environment_variable_a(std::u16string_view name, std::u16string_view value) {
  const auto key = to_ansi(name);
  const auto text = to_ansi(value);
  if (!key || !text) return false;
  return SetEnvironmentVariableA(key->c_str(), text->c_str()) != 0;
}

LONG reg_create_key_a(HKEY root, std::u16string_view path, HKEY& key) {
  key = nullptr;
  const auto ansi_path = to_ansi(path);
  if (!ansi_path) return ERROR_NO_UNICODE_TRANSLATION;
  DWORD disposition = 0;
  return RegCreateKeyExA(root, ansi_path->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                         KEY_CREATE_SUB_KEY | KEY_SET_VALUE, nullptr, &key, &disposition);
}

LONG reg_set_string_a(HKEY key, std::u16string_view name, std::u16string_view value) {
  const auto ansi_name = to_ansi(name);
  const auto ansi_value = to_ansi(value);
  if (!ansi_name || !ansi_value) return ERROR_NO_UNICODE_TRANSLATION;
  // The data are the text and one zero byte, and the count includes that byte.
  return RegSetValueExA(key, ansi_name->c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(ansi_value->c_str()),
                        static_cast<DWORD>(ansi_value->size() + 1));
}

void broadcast_setting_change_a(std::u16string_view section, UINT timeout_ms) {
  const auto text = to_ansi(section);
  if (!text) return;
  DWORD_PTR result = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(text->c_str()),
                      SMTO_ABORTIFHUNG, timeout_ms, &result);
}

Error last_error(const std::string& what) {
  const DWORD error = GetLastError();
  char buffer[256] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, error, 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, length);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  return Error(what + ": " + (text.empty() ? "error " + std::to_string(error) : text));
}

std::string for_message(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

}  // namespace tavo::platform::win32::api
