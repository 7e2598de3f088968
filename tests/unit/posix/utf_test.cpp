// UTF-8 and UTF-16 conversion at the POSIX boundary.
#include "platform/posix/utf.h"

#include <gtest/gtest.h>

namespace tavo::platform::posix {
namespace {

TEST(Utf, RoundTripsEveryPlane) {
  const std::u16string text = u"a\u00e4\u20ac\U0001F600z";
  EXPECT_EQ(to_utf8(text), "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80z");
  EXPECT_EQ(from_utf8(to_utf8(text)), text);
}

TEST(Utf, ReplacesWhatCannotBeConverted) {
  EXPECT_EQ(to_utf8(u"\xD800x"), "\xEF\xBF\xBDx");  // lone high surrogate
  EXPECT_EQ(to_utf8(u"\xDC00"), "\xEF\xBF\xBD");    // lone low surrogate
  EXPECT_EQ(from_utf8("\xFFz"), u"\uFFFDz");
  EXPECT_EQ(from_utf8("\xC3"), u"\uFFFD");                      // cut short
  EXPECT_EQ(from_utf8("\xC0\xAF"), u"\uFFFD\uFFFD");            // overlong
  EXPECT_EQ(from_utf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
  EXPECT_EQ(from_utf8(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

}  // namespace
}  // namespace tavo::platform::posix
