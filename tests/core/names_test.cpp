#include "core/names.h"

#include <gtest/gtest.h>

namespace {

struct MaskCase {
  std::u16string_view name;
  std::u16string_view mask;
  bool matches;
};

class Masks : public testing::TestWithParam<MaskCase> {};

TEST_P(Masks, MatchWholeNameAsciiCaseInsensitively) {
  EXPECT_EQ(core::MatchesMask(GetParam().name, GetParam().mask), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Masks,
    testing::Values(MaskCase{u"a.htm", u"*.htm", true}, MaskCase{u"A.HTM", u"*.htm", true},
                    MaskCase{u"a.html", u"*.htm", false},
                    MaskCase{u"page.old.html", u"*.html", true},
                    MaskCase{u".html", u"*.html", true}, MaskCase{u"c.htm.bak", u"*.htm", false},
                    MaskCase{u"d.xhtml", u"*.html", false}, MaskCase{u"f.txt", u"*.html", false},
                    MaskCase{u"x.htmlx", u"*.html", false}, MaskCase{u"x.HTML", u"*.html", true},
                    MaskCase{u"\u00E9.html", u"*.html", true},
                    MaskCase{u"a.\u00C9", u"*.\u00E9", false}, MaskCase{u"", u"*", true},
                    MaskCase{u"ab", u"a*b*", true}, MaskCase{u"aXbXc", u"a*b*c", true},
                    MaskCase{u"aXbXd", u"a*b*c", false}));

TEST(SplitPattern, SplitsAtEverySpaceInOrder) {
  EXPECT_EQ(core::SplitPattern(core::kHtmlPattern),
            (std::vector<std::u16string>{u"*.html", u"*.htm"}));
  EXPECT_EQ(core::SplitPattern(u"a  b"), (std::vector<std::u16string>{u"a", u"", u"b"}));
}

TEST(NameOrder, FoldsOnlyAsciiLowerCaseToUpperCase) {
  std::vector<std::u16string> names{u"Zeta.html", u"alpha.html", u"_x.html", u"Beta.htm"};
  core::SortByName(names);
  EXPECT_EQ(names,
            (std::vector<std::u16string>{u"alpha.html", u"Beta.htm", u"Zeta.html", u"_x.html"}));

  names = {u"_index.html", u"zeta.html", u"`a.html",    u"[a.html",
           u"ab.html",     u"a.html",    u"\u00E9.html"};
  core::SortByName(names);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"a.html", u"ab.html", u"zeta.html", u"[a.html",
                                                u"_index.html", u"`a.html", u"\u00E9.html"}));
}

TEST(NameOrder, PrefixComesFirst) {
  EXPECT_TRUE(core::NameLess(u"a", u"a.html"));
  EXPECT_FALSE(core::NameLess(u"a.html", u"a"));
  EXPECT_FALSE(core::NameLess(u"A.html", u"a.html"));
  EXPECT_FALSE(core::NameLess(u"a.html", u"A.html"));
}

}  // namespace
