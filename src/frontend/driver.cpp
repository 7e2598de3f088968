// The command-line driver: switches, the lease lookup and the hand-over to Text1.
#include "frontend/driver.h"

#include <array>

#include "base/cut.h"
#include "convert/notation.h"
#include "frontend/form1.h"
#include "frontend/routing.h"

namespace tavo {

namespace {

struct Entry {
  std::u16string_view word;
  Switch action;
};

// A conversion switch is a slash, the input notation's separator and the output's.
constexpr std::array<Entry, 9> kSwitches{{
    {u"/:.", {WordAction::kConvert, kColonToDot}},
    {u"/.:", {WordAction::kConvert, kDotToColon}},
    {u"/:-", {WordAction::kConvert, kColonToDash}},
    {u"/-:", {WordAction::kConvert, kDashToColon}},
    {u"/-.", {WordAction::kConvert, kDashToDot}},
    {u"/.-", {WordAction::kConvert, kDotToDash}},
    {u"/dhcp", {WordAction::kLookup, 0}},
    {u"-s", {WordAction::kNothing, 0}},
    {u"", {WordAction::kHandOver, 0}},
}};

}  // namespace

Switch switch_of(std::u16string_view word) {
  for (const Entry& entry : kSwitches) {
    if (entry.word == word) return entry.action;
  }
  return {WordAction::kNothing, 0};
}

void Form1::command_line_driver() {
  platform::Window& window = services_.window;
  const std::u16string text = services_.command_line.argument_text();
  const std::vector<std::u16string> words = split_words(text);
  bool acted = false;
  for (const std::u16string& word : words) {
    const Switch action = switch_of(word);
    switch (action.action) {
      case WordAction::kConvert:
        hexconvert(words.back(), action.start);
        acted = true;
        break;
      case WordAction::kLookup:
        readdhcp(text);
        acted = true;
        break;
      case WordAction::kHandOver:
        // Once a switch or the lookup has acted, what it published stays: a trailing blank
        // or an empty quoted argument only ends the program.
        if (!acted) window.set_text(platform::Control::kText1, text);
        window.end_program();
      case WordAction::kNothing:
        break;
    }
  }
  if (words.empty()) return;  // interactive use
  // A switch's or the lookup's result is what stays published: handing the text to Text1 would
  // convert its last word again by Text1's own rules.
  if (!acted) {
    if (single_bare_word(words)) {
      const std::u16string result = hexconvert(words.front(), kPairsToColon);
      window.set_text(platform::Control::kText2, result);
      put_on_clipboard([&] { return result; });
    } else {
      window.set_text(platform::Control::kText1, text);
    }
  }
  window.end_program();
}

}  // namespace tavo
