// Fuzzes the batch lines: whatever is written, running it must set exactly the text.
#include <optional>
#include <string>

#include "fuzz_input.h"
#include "publish/batch_line.h"

namespace {

// What cmd.exe's `@set tavo=...` line in a batch file sets, by its two parsing phases: "%%"
// becomes "%", then "^" takes the next character as it is outside quotes, and a quote opens
// or closes a quoted stretch. nullopt when the line would do anything else: expand a variable,
// run another command, redirect, open a block or continue on the next line.
std::optional<std::u16string> cmd_sets(std::u16string_view line) {
  constexpr std::u16string_view kPrefix = u"@set tavo=";
  if (line.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
  line.remove_prefix(kPrefix.size());
  std::u16string expanded;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == u'%') {
      if (i + 1 >= line.size() || line[i + 1] != u'%') return std::nullopt;
      ++i;
    }
    expanded.push_back(line[i]);
  }
  std::u16string value;
  bool quoted = false;
  for (std::size_t i = 0; i < expanded.size(); ++i) {
    const char16_t c = expanded[i];
    if (c == u'"') {
      quoted = !quoted;
    } else if (!quoted && c == u'^') {
      if (++i >= expanded.size()) return std::nullopt;  // a line continuation
      value.push_back(expanded[i]);
      continue;
    } else if (!quoted && std::u16string_view(u"&|<>()").find(c) != std::u16string_view::npos) {
      return std::nullopt;
    }
    value.push_back(c);
  }
  return value;
}

// What COMMAND.COM's `SET name=value` sets: "%%" becomes "%"; | < > would redirect or pipe.
std::optional<std::u16string> command_com_sets(std::u16string_view line, std::u16string_view name) {
  std::u16string expected_prefix = u"SET ";
  for (const char16_t c : name) {
    expected_prefix.push_back(c);
    if (c == u'%') expected_prefix.push_back(c);
  }
  expected_prefix.push_back(u'=');
  if (line.substr(0, expected_prefix.size()) != expected_prefix) return std::nullopt;
  line.remove_prefix(expected_prefix.size());
  std::u16string value;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (std::u16string_view(u"|<>").find(line[i]) != std::u16string_view::npos) return std::nullopt;
    if (line[i] == u'%') {
      if (i + 1 >= line.size() || line[i + 1] != u'%') return std::nullopt;
      ++i;
    }
    value.push_back(line[i]);
  }
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tavo::fuzz::Input input(data, size);
  const std::string name_bytes = input.piece('=');
  const std::u16string value = input.latin1();
  const std::u16string name(name_bytes.begin(), name_bytes.end());

  const auto breaks = [](std::u16string_view text) { return tavo::breaks_batch_line(text); };
  if (const auto line = tavo::script_set_line(value)) {
    if (breaks(*line) || cmd_sets(*line) != value) tavo::fuzz::violated();
  } else if (!breaks(value)) {
    tavo::fuzz::violated();  // a text that a line can carry is always written
  }
  if (const auto line = tavo::autoexec_set_line(name, value)) {
    if (breaks(*line) || command_com_sets(*line, name) != value) tavo::fuzz::violated();
  }
  return 0;
}
