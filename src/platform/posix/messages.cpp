// The broadcast of the Linux build: nothing to tell.
#include "platform/posix/services.h"

namespace tavo::platform::posix {

void NoBroadcast::broadcast_setting_change(std::u16string_view, std::int32_t) {}

}  // namespace tavo::platform::posix
