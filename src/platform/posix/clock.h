// The date and time of the Linux build.
#pragma once

#include "platform/clock.h"

namespace tavo::platform::posix {

// The locale's (LC_TIME) date format, its year always in four digits, and its time format.
class PosixClock final : public Clock {
 public:
  std::u16string date() override;
  std::u16string time() override;
};

}  // namespace tavo::platform::posix
