// Cutting a text at one- and two-character separators.
#include "base/cut.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

struct Case {
  std::u16string text;
  std::u16string separator;
  std::vector<std::u16string> pieces;
};

class Cut : public testing::TestWithParam<Case> {};

TEST_P(Cut, GivesThePieces) {
  const Case& c = GetParam();
  EXPECT_EQ(cut(c.text, c.separator), c.pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Cut,
    testing::Values(Case{u"", u" ", {}}, Case{u"abc", u" ", {u"abc"}},
                    Case{u"a b", u" ", {u"a", u"b"}}, Case{u" ", u" ", {u"", u""}},
                    Case{u"a  b", u" ", {u"a", u"", u"b"}}, Case{u" a ", u" ", {u"", u"a", u""}},
                    Case{u"a\tb", u" ", {u"a\tb"}}, Case{u"x - -y", u" -", {u"x", u"", u"y"}},
                    Case{u"x-y - z", u" -", {u"x-y", u" z"}},
                    Case{u"D-  ws7.lab", u"- ", {u"D", u" ws7.lab"}},
                    Case{u"aXbxc", u"x", {u"aXb", u"c"}}, Case{u"abc", u"", {u"abc"}}));

}  // namespace
}  // namespace tavo
