// Batch lines that set a variable to exactly a given text.
#include "publish/batch_line.h"

namespace tavo {

namespace {

constexpr std::u16string_view kLineBreakers{u"\r\n\0\x1A", 4};

void append_doubling_percent(std::u16string& out, std::u16string_view text) {
  for (const char16_t c : text) {
    if (c == u'%') out.push_back(u'%');
    out.push_back(c);
  }
}

}  // namespace

bool breaks_batch_line(std::u16string_view text) {
  return text.find_first_of(kLineBreakers) != std::u16string_view::npos;
}

std::optional<std::u16string> script_set_line(std::u16string_view value) {
  if (breaks_batch_line(value)) return std::nullopt;
  std::u16string line = u"@set tavo=";
  for (const char16_t c : value) {
    if (c == u'%') {
      line.push_back(u'%');
    } else if (std::u16string_view(u"^&|<>()\"").find(c) != std::u16string_view::npos) {
      line.push_back(u'^');
    }
    line.push_back(c);
  }
  return line;
}

std::optional<std::u16string> autoexec_set_line(std::u16string_view name,
                                                std::u16string_view value) {
  for (const std::u16string_view part : {name, value}) {
    if (breaks_batch_line(part) || part.find_first_of(u"|<>") != std::u16string_view::npos) {
      return std::nullopt;
    }
  }
  std::u16string line = u"SET ";
  append_doubling_percent(line, name);
  line.push_back(u'=');
  append_doubling_percent(line, value);
  return line;
}

}  // namespace tavo
