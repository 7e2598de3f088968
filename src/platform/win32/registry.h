// The registry of tavo.exe.
#pragma once

#include "platform/registry.h"

namespace tavo::platform::win32 {

// RegCreateKeyExA (access 6), RegSetValueExA (REG_SZ, zero byte counted), RegCloseKey. A text
// outside the ANSI code page gives ERROR_NO_UNICODE_TRANSLATION.
class Win32Registry final : public Registry {
 public:
  long create_key(std::uint32_t root, std::u16string_view path, Key& key) override;
  long set_string(Key key, std::u16string_view name, std::u16string_view value) override;
  long close_key(Key key) override;
};

}  // namespace tavo::platform::win32
