// Routing of Text1's text to a conversion.
#include "frontend/routing.h"

#include <vector>

#include "convert/cut.h"
#include "convert/notation.h"

namespace tavo {

std::optional<Route> route_text1(std::u16string_view text) {
  const std::vector<std::u16string> words = split_words(text);
  if (words.empty()) return std::nullopt;
  const std::u16string& last = words.back();
  const bool separator = contains(last, u'-') || contains(last, u':');
  if (!separator && words.size() == 1) return Route{'a', std::u16string(text), kPairsToColon};
  if (contains(last, u'-')) return Route{'b', last, kDashToColon};
  if (contains(text, u':')) return Route{'c', last, kColonToDash};
  return Route{'d', std::u16string(text), kPairsToColon};
}

}  // namespace tavo
