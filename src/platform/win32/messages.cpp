// The broadcast of tavo.exe.
#include "platform/win32/services.h"

#include "platform/win32/api.h"

namespace tavo::platform::win32 {

void Win32Messages::broadcast_setting_change(std::u16string_view section, std::int32_t timeout_ms) {
  api::broadcast_setting_change_a(section, static_cast<UINT>(timeout_ms));
}

}  // namespace tavo::platform::win32
