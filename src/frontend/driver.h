// The command-line driver's words and switches.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

// The action of `word`, by the first switch that it equals exactly, case included.
Switch switch_of(std::u16string_view word);

}  // namespace tavo
