// The argument text that tavo.exe cuts from its command line, as Windows hands it over.
#include "platform/win32/rules.h"

#include <gtest/gtest.h>

namespace tavo::platform::win32 {
namespace {

TEST(ArgumentTextOf, DropsTheProgramsNameAndOneBlankAndKeepsTheRest) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"tavo.exe 00-11", u"00-11"},
      {u"\"C:\\Program Files\\tavo\\tavo.exe\" 00-11", u"00-11"},  // a blank in the name
      {u"\"C:\\tavo.exe\"00-11", u"00-11"},                        // none after the quote
      {u"tavo.exe  00 11 ", u" 00 11 "},                           // only the first blank goes
      {u"tavo.exe\t/dhcp x", u"/dhcp x"},
      {u"tavo.exe \"a b\"", u"\"a b\""},  // quotes in the arguments are the user's text
      {u"tavo.exe 00-\u00e4\u20ac", u"00-\u00e4\u20ac"},
      {u"tavo.exe", u""},
      {u"\"tavo.exe\" ", u""},
      {u"\"C:\\unclosed name 00-11", u""},  // the name runs to the end
      {u"", u""},
  };
  for (const auto& [line, text] : cases) {
    EXPECT_EQ(argument_text_of(line), text) << std::string(line.begin(), line.end());
  }
}

}  // namespace
}  // namespace tavo::platform::win32
