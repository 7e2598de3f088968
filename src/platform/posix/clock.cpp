// The date and time of the Linux build.
#include "platform/clock.h"

#include <langinfo.h>

#include <ctime>
#include <string>

#include "platform/posix/utf.h"

namespace tavo::platform::posix {

namespace {

// Now, written in a format that the locale supplies.
std::u16string local_now(const std::string& format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[256] = {};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const std::size_t length = std::strftime(text, sizeof text, format.c_str(), &local);
#pragma GCC diagnostic pop
  return from_utf8(std::string_view(text, length));
}

// The locale's (LC_TIME) date format, its year always in four digits, and its time format.
class PosixClock final : public Clock {
 public:
  std::u16string date() override;
  std::u16string time() override;
};

std::u16string PosixClock::date() {
  // The locale's date format, with the year always in four digits.
  std::string format = nl_langinfo(D_FMT);
  for (std::size_t at = format.find("%y"); at != std::string::npos; at = format.find("%y", at)) {
    format[at + 1] = 'Y';
  }
  return local_now(format);
}

std::u16string PosixClock::time() {
  return local_now(nl_langinfo(T_FMT));
}

}  // namespace

}  // namespace tavo::platform::posix

auto tavo::platform::make_clock() -> std::unique_ptr<Clock> {
  return std::make_unique<posix::PosixClock>();
}
