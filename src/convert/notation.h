// The notation converter: rewrites a hardware address between colon, dash and dot notation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavo {

// Conversion modes, the values of hexconvert's `start`.
enum Mode : std::int16_t {
  kColonToDash = 1,
  kDashToColon = 2,
  kDotToColon = 3,
  kColonToDot = 4,
  kDotToDash = 5,
  kDashToDot = 6,
  kPairsToColon = 7,
};

// Cuts `wert` into groups (at the mode's split separator, or into pairs in mode 7), keeps at
// most the first two characters of each, lower-cases them and joins them with the mode's join
// separator. Nothing is validated. Any mode outside 1..7, and an empty `wert`, give "".
std::u16string convert_notation(std::u16string_view wert, std::int16_t start);

// `a` with A-Z (and the Latin-1 capitals U+00C0..U+00DE except U+00D7) replaced by their
// lower-case forms; every other character unchanged, so the length stays the same.
std::u16string lower(std::u16string_view a);

}  // namespace tavo
