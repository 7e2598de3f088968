// The date and time of tavo.exe.
#include "platform/win32/services.h"

#include <optional>

#include "platform/win32/api.h"

namespace tavo::platform::win32 {

namespace {

// A date or time text, or the failure to read it.
std::u16string formatted(const std::optional<std::u16string>& text, const char* what) {
  if (!text) throw api::last_error(std::string("cannot read the ") + what);
  return *text;
}

}  // namespace

std::u16string Win32Clock::date() {
  return formatted(api::calls().short_date(), "date");
}

std::u16string Win32Clock::time() {
  return formatted(api::calls().time_of_day(), "time");
}

}  // namespace tavo::platform::win32
