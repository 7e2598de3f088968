// Cutting a text at a separator.
#include "base/cut.h"

namespace tavo {

std::vector<std::u16string> cut(std::u16string_view text, std::u16string_view separator) {
  std::vector<std::u16string> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = text.find(separator, from);
    if (at == std::u16string_view::npos) {
      pieces.emplace_back(text.substr(from));
      return pieces;
    }
    pieces.emplace_back(text.substr(from, at - from));
    from = at + separator.size();
  }
}

}  // namespace tavo
