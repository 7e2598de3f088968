// Messages to every top-level window of the session.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace tavo::platform {

class WindowMessages {
 public:
  virtual ~WindowMessages() = default;
  // Tells every top-level window that the settings of `section` changed; blocks until each
  // has answered or `timeout_ms` has passed for it; hung windows are not waited for.
  virtual void broadcast_setting_change(std::u16string_view section, std::int32_t timeout_ms) = 0;
};

// The session's windows, where there are any to tell.
std::unique_ptr<WindowMessages> make_window_messages();

}  // namespace tavo::platform
