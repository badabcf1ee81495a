#include "core/name_list.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/NameLists.h"

namespace {

TEST(NameList, PosixNamesAreReadBackDecodedLosslessly) {
  core::NameList list;
  list.Add(std::string_view("caf\xE9.html"));
  list.Add(std::string_view("\xE6\x97\xA5\xE6\x9C\xAC.html"));
  list.Add(std::string_view(""));
  EXPECT_EQ(AllNames(list), (std::vector<std::u16string>{u"caf\xDCE9.html", u"日本.html", u""}));
}

TEST(NameList, WindowsNamesAreKeptAsTheyAre) {
  core::NameList list;
  list.Add(
      std::u16string_view(u"\xD800"
                          u"a.html"));
  list.Add(std::u16string_view(u"B.htm"));
  list.SortByName();
  EXPECT_EQ(AllNames(list), (std::vector<std::u16string>{u"B.htm",
                                                         u"\xD800"
                                                         u"a.html"}));
}

TEST(NameList, HoldsNamesOfOneKind) {
  core::NameList list;
  list.Add(std::string_view("a.html"));
  EXPECT_THROW(list.Add(std::u16string_view(u"b.html")), std::logic_error);
  EXPECT_EQ(AllNames(list), std::vector<std::u16string>{u"a.html"});
}

TEST(NameList, EmptyListSortsAndFindsNothing) {
  core::NameList list;
  list.SortByName();
  EXPECT_EQ(list.Size(), 0u);
  EXPECT_EQ(list.Find(u"a.html"), std::nullopt);
}

struct FindCase {
  const char* label;
  std::u16string name;
  bool listed;
};

class NameListFind : public testing::TestWithParam<FindCase> {};

// Names that are equal but for letter case stand side by side in no particular order; Find tells
// them apart.
TEST_P(NameListFind, FindsTheExactName) {
  core::NameList list;
  for (const char* name : {"b.html", "A.html", "a.html", "caf\xE9.html", "_x.html", "a.HTML",
                           "\xF0\x9F\x98\x80.htm"}) {
    list.Add(std::string_view(name));
  }
  list.SortByName();
  const std::optional<std::size_t> found = list.Find(GetParam().name);
  ASSERT_EQ(found.has_value(), GetParam().listed);
  if (found) {
    EXPECT_EQ(list.Name(*found), GetParam().name);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NameListFind,
    testing::Values(FindCase{"Lower", u"a.html", true}, FindCase{"Upper", u"A.html", true},
                    FindCase{"Mixed", u"a.HTML", true}, FindCase{"Last", u"\U0001F600.htm", true},
                    FindCase{"Escaped", u"caf\xDCE9.html", true},
                    FindCase{"OtherCase", u"A.HTML", false}, FindCase{"Missing", u"c.html", false},
                    FindCase{"BeforeAll", u"", false}, FindCase{"AfterAll", u"\uFFFF", false}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
