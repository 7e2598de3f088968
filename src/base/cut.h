// Cutting a text at a separator, the one way every part of tavo splits text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavo {

// Every occurrence of `separator` (matched exactly, case-sensitively) separates: two adjacent
// separators give an empty piece, a separator at either end gives an empty first or last
// piece, and the number of pieces is not limited. An empty text gives no pieces at all. An
// empty separator does not cut: the whole text is the only piece.
std::vector<std::u16string> cut(std::u16string_view text, std::u16string_view separator);

// The words of a text: every single blank separates, so two blanks give an empty word between
// them and a blank at either end an empty first or last word. Tabs stay inside a word. An empty
// text has no words.
inline std::vector<std::u16string> split_words(std::u16string_view text) {
  return cut(text, u" ");
}

// True when `c` occurs anywhere in `text`.
inline bool contains(std::u16string_view text, char16_t c) {
  return text.find(c) != std::u16string_view::npos;
}

}  // namespace tavo
