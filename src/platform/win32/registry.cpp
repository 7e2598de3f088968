// The registry of tavo.exe.
#include "platform/registry.h"

#include <windows.h>

#include "platform/win32/api.h"

namespace tavo::platform::win32 {

namespace {

// RegCreateKeyExA (access 6), RegSetValueExA (REG_SZ, zero byte counted), RegCloseKey. A text
// outside the ANSI code page gives ERROR_NO_UNICODE_TRANSLATION.
class Win32Registry final : public Registry {
 public:
  long create_key(std::uint32_t root, std::u16string_view path, Key& key) override;
  long set_string(Key key, std::u16string_view name, std::u16string_view value) override;
  long close_key(Key key) override;
};

long Win32Registry::create_key(std::uint32_t root, std::u16string_view path, Key& key) {
  HKEY opened = nullptr;
  const LONG status =
      api::reg_create_key_a(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(root)), path, opened);
  key = status == ERROR_SUCCESS ? reinterpret_cast<Key>(opened) : 0;
  return status;
}

long Win32Registry::set_string(Key key, std::u16string_view name, std::u16string_view value) {
  return api::reg_set_string_a(reinterpret_cast<HKEY>(key), name, value);
}

long Win32Registry::close_key(Key key) {
  return RegCloseKey(reinterpret_cast<HKEY>(key));
}

}  // namespace

}  // namespace tavo::platform::win32

auto tavo::platform::make_registry() -> std::unique_ptr<Registry> {
  return std::make_unique<win32::Win32Registry>();
}
