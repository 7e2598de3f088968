// The date and time of tavo.exe.
#include "platform/clock.h"

#include <optional>

#include "platform/win32/api.h"
#include "platform/win32/code_page.h"

namespace tavo::platform::win32 {

namespace {

// A date or time text as the A functions give it on every Windows: in the characters of the
// ANSI code page, what it lacks replaced as the system replaces it. A user's AM and PM symbols
// or date format may hold letters that the code page lacks, and the log that holds them must
// still be written. Throws the failure to read it.
std::u16string formatted(const std::optional<std::u16string>& text, const char* what) {
  if (!text) throw api::last_error(std::string("cannot read the ") + what);
  return from_ansi(to_ansi_shown(*text));
}

// GetDateFormat with DATE_SHORTDATE and GetTimeFormat, for the user's locale, in the characters
// of the ANSI code page as the A functions give them.
class Win32Clock final : public Clock {
 public:
  std::u16string date() override;
  std::u16string time() override;
};

std::u16string Win32Clock::date() {
  return formatted(api::calls().short_date(), "date");
}

std::u16string Win32Clock::time() {
  return formatted(api::calls().time_of_day(), "time");
}

}  // namespace

}  // namespace tavo::platform::win32

auto tavo::platform::make_clock() -> std::unique_ptr<Clock> {
  return std::make_unique<win32::Win32Clock>();
}
