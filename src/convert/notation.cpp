// The notation converter: cut, shorten, lower-case, join.
#include "convert/notation.h"

#include <array>
#include <optional>

#include "base/cut.h"

namespace tavo {

namespace {

struct Separators {
  char16_t split;
  char16_t join;
};

// The separators of modes 1 to 6, in the order of the modes.
constexpr std::array<Separators, 6> kSeparators{{
    {u':', u'-'},  // kColonToDash
    {u'-', u':'},  // kDashToColon
    {u'.', u':'},  // kDotToColon
    {u':', u'.'},  // kColonToDot
    {u'.', u'-'},  // kDotToDash
    {u'-', u'.'},  // kDashToDot
}};

std::optional<Separators> separators_of(std::int16_t start) {
  if (start < kColonToDash || start > kDashToDot) return std::nullopt;
  return kSeparators[static_cast<std::size_t>(start - kColonToDash)];
}

// Appends the lowered contribution of one group and the join separator after it.
void append_group(std::u16string& result, std::u16string_view group, char16_t join) {
  result += lower(group.substr(0, 2));
  result.push_back(join);
}

}  // namespace

std::u16string lower(std::u16string_view a) {
  std::u16string result(a);
  for (char16_t& c : result) {
    const bool ascii_capital = c >= u'A' && c <= u'Z';
    const bool latin1_capital = c >= 0xC0 && c <= 0xDE && c != 0xD7;
    if (ascii_capital || latin1_capital) c = static_cast<char16_t>(c + 0x20);
  }
  return result;
}

std::u16string convert_notation(std::u16string_view wert, std::int16_t start) {
  std::u16string result;
  if (start == kPairsToColon) {
    for (std::size_t i = 0; i < wert.size(); i += 2) append_group(result, wert.substr(i, 2), u':');
  } else if (const auto seps = separators_of(start)) {
    for (const std::u16string& group : cut(wert, std::u16string_view(&seps->split, 1))) {
      append_group(result, group, seps->join);
    }
  }
  // The join separator after the last group is not wanted.
  if (!result.empty()) result.pop_back();
  return result;
}

}  // namespace tavo
