// Routing of Text1's text to a conversion.
#include "frontend/routing.h"

#include <vector>

#include "base/cut.h"
#include "convert/notation.h"

namespace tavo {

bool single_bare_word(const std::vector<std::u16string>& words) {
  return words.size() == 1 && !contains(words.front(), u'-') && !contains(words.front(), u':');
}

std::optional<Route> route_text1(std::u16string_view text) {
  const std::vector<std::u16string> words = split_words(text);
  if (words.empty()) return std::nullopt;
  const std::u16string& last = words.back();
  if (single_bare_word(words)) return Route{std::u16string(text), kPairsToColon};  // a
  if (contains(last, u'-')) return Route{last, kDashToColon};                      // b
  if (contains(text, u':')) return Route{last, kColonToDash};                      // c
  return Route{std::u16string(text), kPairsToColon};                               // d
}

}  // namespace tavo
