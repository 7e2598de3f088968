// The notation converter and lower, driven by tables of inputs and expected results.
#include "convert/notation.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "platform/posix/utf.h"

namespace tavo {
namespace {

struct Case : fake::Row {  // wert
  std::int16_t start;
  std::u16string expected;
};

class ConvertNotation : public testing::TestWithParam<Case> {};

TEST_P(ConvertNotation, GivesTheExpectedText) {
  const Case& c = GetParam();
  EXPECT_EQ(platform::posix::to_utf8(convert_notation(c.text, c.start)),
            platform::posix::to_utf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(EachMode, ConvertNotation,
                         testing::Values(Case{{u"00:1A:2B:33:44:55"}, 1, u"00-1a-2b-33-44-55"},
                                         Case{{u"00-1A-2B"}, 2, u"00:1a:2b"},
                                         Case{{u"00.1A.2B"}, 3, u"00:1a:2b"},
                                         Case{{u"00:1A:2B"}, 4, u"00.1a.2b"},
                                         Case{{u"00.1A.2B"}, 5, u"00-1a-2b"},
                                         Case{{u"00-1A-2B"}, 6, u"00.1a.2b"},
                                         Case{{u"001A2B334455"}, 7, u"00:1a:2b:33:44:55"}));

INSTANTIATE_TEST_SUITE_P(
    GroupsAreCutNotValidated, ConvertNotation,
    testing::Values(Case{{u"001A2"}, 7, u"00:1a:2"}, Case{{u"0"}, 7, u"0"},
                    Case{{u"0:1:2"}, 1, u"0-1-2"}, Case{{u"001:122:333"}, 1, u"00-12-33"},
                    Case{{u"001A2B334455"}, 1, u"00"}, Case{{u"00:11"}, 3, u"00"},
                    Case{{u"00-11:22"}, 1, u"00-22"}, Case{{u"00--11"}, 2, u"00::11"},
                    Case{{u":"}, 1, u"-"}, Case{{u"::"}, 4, u".."},
                    Case{{u":00:11:"}, 1, u"-00-11-"}, Case{{u" 00:11 "}, 1, u" 0-11"},
                    Case{{u"00:11"}, 7, u"00::1:1"}, Case{{u"zz:GG:\t1"}, 1, u"zz-gg-\t1"},
                    Case{{u"AB"}, 2, u"ab"}));

INSTANTIATE_TEST_SUITE_P(NothingToConvert, ConvertNotation,
                         testing::Values(Case{{u""}, 1, u""}, Case{{u""}, 2, u""},
                                         Case{{u""}, 3, u""}, Case{{u""}, 4, u""},
                                         Case{{u""}, 5, u""}, Case{{u""}, 6, u""},
                                         Case{{u""}, 7, u""}, Case{{u"00:11"}, 0, u""},
                                         Case{{u"00:11"}, 8, u""}, Case{{u"00:11"}, -1, u""},
                                         Case{{u"001122"}, 32767, u""},
                                         Case{{u"001122"}, -32768, u""}));

// Positions count UTF-16 code units: a character outside the BMP is two of them.
INSTANTIATE_TEST_SUITE_P(BeyondAscii, ConvertNotation,
                         testing::Values(Case{{u"\u00C4B:\u00DCx"}, 1, u"\u00e4b-\u00fcx"},
                                         Case{{u"\u00D7\u00DF"}, 7, u"\u00D7\u00DF"},
                                         Case{{u"A\U0001F600B"},
                                              7,
                                              u"a\xD83D:\xDE00"
                                              u"b"}));

TEST(Lower, ReplacesCapitalsOnly) {
  EXPECT_EQ(lower(u"AbC-9"), u"abc-9");
  EXPECT_EQ(lower(u""), u"");
  EXPECT_EQ(lower(u"@[`{"), u"@[`{");  // the neighbours of A-Z and a-z stay
  EXPECT_EQ(lower(u"\u00C0\u00DE\u00D7\u00DF"), u"\u00E0\u00FE\u00D7\u00DF");
}

}  // namespace
}  // namespace tavo
