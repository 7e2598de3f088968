// The usage that tavo prints when asked for it; no line is longer than 79 characters, so that
// a console 80 wide shows each on one line.
#include "frontend/usage.h"

#include <initializer_list>

namespace tavo {

std::string usage(const UsageFacts& facts) {
  const std::string p(facts.program);
  std::string text;
  for (const std::string& line : std::initializer_list<std::string>{
           "Usage: " + p + " [SWITCH...] ADDRESS",
           "       " + p + " TEXT",
           "       " + p + " /dhcp INDEXFILE TERM",
           "",
           "Rewrites a network hardware (MAC) address; the result is always lower case.",
           "  /:-  colons to dashes    " + p + " /:- 00:1A:2B  gives 00-1a-2b",
           "  /-:  dashes to colons    " + p + " /-: 00-1A-2B  gives 00:1a:2b",
           "  /:.  colons to dots      " + p + " /:. 00:1A:2B  gives 00.1a.2b",
           "  /.:  dots to colons      " + p + " /.: 00.1A.2B  gives 00:1a:2b",
           "  /-.  dashes to dots      " + p + " /-. 00-1A-2B  gives 00.1a.2b",
           "  /.-  dots to dashes      " + p + " /.- 00.1A.2B  gives 00-1a-2b",
           "  bare digits, one word    " + p + " 001A2B        gives 00:1a:2b",
           "  other text, as the box   " + p + " 00:1A:2B      gives 00-1a-2b",
           "A switch converts the last word of the whole text.",
           "",
           "  /dhcp INDEXFILE TERM  searches the DHCP lease listings that INDEXFILE names,",
           "                        one a line, for TERM. Each lease line that holds it is",
           "                        converted to dash pairs, summed up on the clipboard and",
           "                        logged in findout.txt.",
           "",
           "Each result goes to the clipboard; to the variable TAVO, in this process and",
           "  " + std::string(facts.tavo_store) + ";",
           "to the script wmac.cmd in the folder of \"temp\"; and on a line of its own to",
           "the window (standard output on Linux).",
           "",
           "Exit status: 0 when " + p + " ends normally; 1 when a failure stops it, with one",
           "line \"tavo: <what failed>\".",
           "",
           "Only the whole text " + std::string(facts.answered) +
               " is answered instead of converted.",
           "See " + std::string(facts.rest) + " for the rest.",
       }) {
    text += line;
    text += facts.line_end;
  }
  return text;
}

}  // namespace tavo
