// The broadcast of tavo.exe.
#include "platform/messages.h"

#include "platform/win32/api.h"

namespace tavo::platform::win32 {

namespace {

// SendMessageTimeoutA to HWND_BROADCAST with WM_SETTINGCHANGE and SMTO_ABORTIFHUNG.
class Win32Messages final : public WindowMessages {
 public:
  void broadcast_setting_change(std::u16string_view section, std::int32_t timeout_ms) override;
};

void Win32Messages::broadcast_setting_change(std::u16string_view section, std::int32_t timeout_ms) {
  api::broadcast_setting_change_a(section, static_cast<UINT>(timeout_ms));
}

}  // namespace

}  // namespace tavo::platform::win32

auto tavo::platform::make_window_messages() -> std::unique_ptr<WindowMessages> {
  return std::make_unique<win32::Win32Messages>();
}
