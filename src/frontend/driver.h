// The command-line driver's words and switches.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

// What the driver does for one word of the argument text.
enum class WordAction {
  kConvert,   // convert the last word in the switch's mode
  kLookup,    // run the lease lookup with the whole argument text
  kHandOver,  // the empty word: give Text1 the whole text and end
  kNothing,   // "-s" and every word that is no switch
};

struct Switch {
  WordAction action;
  std::int16_t start;  // the conversion mode, for kConvert
};

// The words of an argument text: every single blank separates, so two blanks give an empty word
// between them and a blank at either end an empty first or last word. Tabs stay inside a word.
// An empty text has no words.
std::vector<std::u16string> split_words(std::u16string_view text);

// The action of `word`, by the first switch that it equals exactly, case included.
Switch switch_of(std::u16string_view word);

}  // namespace tavo
