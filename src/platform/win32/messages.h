// The broadcast of tavo.exe.
#pragma once

#include "platform/messages.h"

namespace tavo::platform::win32 {

// SendMessageTimeoutA to HWND_BROADCAST with WM_SETTINGCHANGE and SMTO_ABORTIFHUNG.
class Win32Messages final : public WindowMessages {
 public:
  void broadcast_setting_change(std::u16string_view section, std::int32_t timeout_ms) override;
};

}  // namespace tavo::platform::win32
