// Which text and mode the input box picks for a text; the letter is the branch taken.
#include "frontend/routing.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "platform/posix/utf.h"

namespace tavo {
namespace {

struct Case : fake::Row {
  std::u16string wert;
  std::int16_t start;
};

class RouteText1 : public testing::TestWithParam<Case> {};

TEST_P(RouteText1, PicksTextAndMode) {
  const Case& c = GetParam();
  const auto route = route_text1(c.text);
  ASSERT_TRUE(route.has_value());
  EXPECT_EQ(platform::posix::to_utf8(route->wert), platform::posix::to_utf8(c.wert));
  EXPECT_EQ(route->start, c.start);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RouteText1,
    testing::Values(Case{{u"00-1a-2b-3c-4d-5e"}, /* b */ u"00-1a-2b-3c-4d-5e", 2},
                    Case{{u"00:1a:2b:3c:4d:5e"}, /* c */ u"00:1a:2b:3c:4d:5e", 1},
                    Case{{u"001a2b3c4d5e"}, /* a */ u"001a2b3c4d5e", 7},
                    Case{{u"00.1a.2b.3c.4d.5e"}, /* a */ u"00.1a.2b.3c.4d.5e", 7},
                    Case{{u"Physical Address: 00-1A-2B-3C-4D-5E"}, /* b */ u"00-1A-2B-3C-4D-5E", 2},
                    Case{{u"ether 00:1a:2b:3c:4d:5e"}, /* c */ u"00:1a:2b:3c:4d:5e", 1},
                    Case{{u"00 1a 2b 3c 4d 5e"}, /* d */ u"00 1a 2b 3c 4d 5e", 7},
                    Case{{u"00-11:22"}, /* b */ u"00-11:22", 2},
                    Case{{u"mac: 001122"}, /* c */ u"001122", 1}, Case{{u"00:11 "}, /* c */ u"", 1},
                    Case{{u"001122 "}, /* d */ u"001122 ", 7},
                    Case{{u" 001122"}, /* d */ u" 001122", 7},
                    Case{{u" 00-11-22"}, /* b */ u"00-11-22", 2},
                    Case{{u"00\t11-22"}, /* b */ u"00\t11-22", 2},
                    Case{{u"a\tb"}, /* a */ u"a\tb", 7}, Case{{u" "}, /* d */ u" ", 7}));

TEST(RouteText1, EmptyTextConvertsNothing) {
  EXPECT_FALSE(route_text1(u"").has_value());
}

}  // namespace
}  // namespace tavo
