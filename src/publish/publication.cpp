// The result publication.
#include "publish/publication.h"

#include <optional>

#include "base/error.h"
#include "convert/notation.h"
#include "publish/batch_line.h"
#include "publish/line_appender.h"

namespace tavo {

std::u16string convert_and_publish(const platform::Services& services, EnvironPublisher& publisher,
                                   std::u16string_view wert, std::int16_t start) {
  std::u16string temp;
  // A folder that the system cannot tell gets no script: the root of the drive, where an unset
  // "temp" puts it, is no place to guess.
  const bool has_folder = attempt([&] { temp = services.environment.get(u"temp"); });
  std::u16string text;
  attempt([&] { text = convert_notation(wert, start); });

  attempt([&] { services.clipboard.clear(); });
  attempt([&] { services.clipboard.set_text(text); });
  attempt([&] { publisher.SetEnvironVar(u"TAVO", text, false); });

  const std::u16string path = temp + std::u16string(kScriptName);
  std::optional<std::u16string> set_line;
  attempt([&] { set_line = script_set_line(text); });
  // cmd.exe reads the script in the console's code page. A line that it cannot hold, like one
  // that breaks a batch line, gets no script: a script with only its first line would set tavo
  // to empty.
  bool encodable = false;
  if (set_line) {
    attempt(
        [&] { encodable = services.files.encode(*set_line, platform::Encoding::oem).has_value(); });
  }
  if (!encodable || !has_folder) set_line.reset();
  if (has_folder) attempt([&] { services.files.remove(path); });
  if (set_line) {
    // Written whole or not at all: what a failing write or close left behind is deleted.
    if (append_lines(services.files, path, platform::Encoding::oem, {u"@set tavo=", *set_line})) {
      attempt([&] { services.programs.start_script(path, platform::kShowMinimized); });
    } else {
      attempt([&] { services.files.remove(path); });
    }
  }
  attempt([&] { services.window.print_line(text); });
  return text;
}

}  // namespace tavo
