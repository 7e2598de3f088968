// The current date and time, as the user has chosen to see them.
#pragma once

#include <string>

namespace tavo::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Today in the system's short date format, e.g. "12/8/2026".
  virtual std::u16string date() = 0;
  // Now in the system's time format, e.g. "9:42:07 PM".
  virtual std::u16string time() = 0;
};

}  // namespace tavo::platform
