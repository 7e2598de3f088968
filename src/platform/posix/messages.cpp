// The broadcast of the Linux build: no other program here listens for setting changes.
#include "platform/messages.h"

namespace tavo::platform::posix {

namespace {

class NoBroadcast final : public WindowMessages {
 public:
  void broadcast_setting_change(std::u16string_view, std::int32_t) override {}
};

}  // namespace

}  // namespace tavo::platform::posix

auto tavo::platform::make_window_messages() -> std::unique_ptr<WindowMessages> {
  return std::make_unique<posix::NoBroadcast>();
}
