// The current date and time, as the user has chosen to see them.
#pragma once

#include <memory>
#include <string>

namespace tavo::platform {

// Both texts hold only characters that the system's 8-bit text encoding can hold: what a user's
// format has beyond it is replaced as the system replaces it, so a log can always hold them.
// Both throw tavo::Error when the system cannot tell.
class Clock {
 public:
  virtual ~Clock() = default;
  // Today in the system's short date format, e.g. "12/8/2026".
  virtual std::u16string date() = 0;
  // Now in the system's time format, e.g. "9:42:07 PM".
  virtual std::u16string time() = 0;
};

// The system's clock, in the user's formats.
std::unique_ptr<Clock> make_clock();

}  // namespace tavo::platform
