// The result publication.
#include "convert/publication.h"

#include <optional>

#include "base/error.h"
#include "convert/batch_line.h"
#include "convert/notation.h"

namespace tavo {

std::u16string convert_and_publish(const platform::Services& services, EnvironPublisher& publisher,
                                   std::u16string_view wert, std::int16_t start) {
  std::u16string temp;
  attempt([&] { temp = services.environment.get(u"temp"); });
  std::u16string text;
  attempt([&] { text = convert_notation(wert, start); });

  attempt([&] { services.clipboard.clear(); });
  attempt([&] { services.clipboard.set_text(text); });
  attempt([&] { publisher.SetEnvironVar(u"TAVO", text, false); });

  const std::u16string path = temp + std::u16string(kScriptName);
  std::optional<std::u16string> set_line;
  attempt([&] { set_line = script_set_line(text); });
  attempt([&] { services.files.remove(path); });
  if (set_line) {
    platform::append_lines(services.files, path, {u"@set tavo=", *set_line});
    attempt([&] { services.programs.start_script(path, platform::kShowMinimized); });
  }
  attempt([&] { services.window.print_line(text); });
  return text;
}

}  // namespace tavo
