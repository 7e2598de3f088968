// How the input box picks what to convert, and in which mode, from the shape of its text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

struct Route {
  std::u16string wert;  // the text handed to hexconvert
  std::int16_t start;   // the conversion mode
};

// True when `words` are one word that holds neither "-" nor ":": bare digits, converted whole in
// mode 7 by the input box and by the command line alike.
bool single_bare_word(const std::vector<std::u16string>& words);

// The words are the text cut at every blank. Branches, first match wins:
//   a  one word without "-" or ":"            the whole text, mode 7
//   b  the last word contains "-"             the last word, mode 2
//   c  the whole text contains ":"            the last word, mode 1
//   d  any other non-empty text               the whole text, mode 7
// An empty text has no words: nothing is converted (nullopt).
std::optional<Route> route_text1(std::u16string_view text);

}  // namespace tavo
