// The broadcast of the Linux build.
#pragma once

#include "platform/messages.h"

namespace tavo::platform::posix {

// No other program here listens for setting changes.
class NoBroadcast final : public WindowMessages {
 public:
  void broadcast_setting_change(std::u16string_view section, std::int32_t timeout_ms) override;
};

}  // namespace tavo::platform::posix
