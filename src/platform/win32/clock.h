// The date and time of tavo.exe.
#pragma once

#include "platform/clock.h"

namespace tavo::platform::win32 {

// GetDateFormat with DATE_SHORTDATE and GetTimeFormat, for the user's locale.
class Win32Clock final : public Clock {
 public:
  std::u16string date() override;
  std::u16string time() override;
};

}  // namespace tavo::platform::win32
