// The lease lookup: every line of the listed files that holds a term, converted and logged.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/services.h"

namespace tavo {

// Emptied at the start of every lookup; nothing is written to it.
inline constexpr std::u16string_view kWorkFile = u"c:\\temp\\datas.txt";
// Gains one entry per match.
inline constexpr std::u16string_view kLogFile = u"c:\\temp\\findout.txt";

// The conversion that each match goes through (hexconvert, which also publishes).
using Convert = std::function<std::u16string(std::u16string_view wert, std::int16_t start)>;

// Runs the lookup for the argument text `wert`: word 1 names the index file, word 2 is the term,
// word 0 and any later words are not looked at. Empties the work file; then, for every line of
// every file that the index names, in file order, a lease line that holds the term is converted
// in mode 1, its summary put on the clipboard and its entry appended to the log. Empty index
// lines are passed over, and so are matching lines that are no lease lines.
//
// The first failing step ends the lookup with a tavo::Error that names the file or the missing
// word; what was done before stays done.
void lease_lookup(const platform::Services& services, const Convert& convert,
                  std::u16string_view wert);

}  // namespace tavo
