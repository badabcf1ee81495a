#include "core/names.h"

#include <gtest/gtest.h>

#include "core/encoding.h"
#include "core/name_list.h"
#include "support/NameLists.h"

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
                    MaskCase{u"", u"", true}, MaskCase{u"a", u"", false},
                    MaskCase{u"html", u"*.html", false}, MaskCase{u"ab", u"a*b*", true},
                    MaskCase{u"aXbXc", u"a*b*c", true}, MaskCase{u"aXbXd", u"a*b*c", false},
                    MaskCase{u"abc", u"a*b*c", true}, MaskCase{u"ac", u"a*b*c", false},
                    MaskCase{u"abab", u"*ab*ab", true}, MaskCase{u"aba", u"*ab*ab", false},
                    MaskCase{u"xAyBz", u"*a*b*", true}, MaskCase{u"xByAz", u"*a*b*", false},
                    MaskCase{u"a.html", u"A.HTML", true}, MaskCase{u"a.html", u"a**.html", true}));

// A POSIX name's bytes match a mask of ASCII characters exactly when their lossless decoding does.
struct ByteMaskCase {
  const char* label;
  std::string bytes;
  bool matchesHtml;  // "*.html"
  bool matchesHtm;   // "*.htm"
};

class ByteMasks : public testing::TestWithParam<ByteMaskCase> {};

TEST_P(ByteMasks, AgreeWithTheDecodedName) {
  const ByteMaskCase& c = GetParam();
  const std::u16string decoded = core::DecodeLossless(c.bytes);
  EXPECT_EQ(core::MatchesMask(c.bytes, u"*.html"), c.matchesHtml);
  EXPECT_EQ(core::MatchesMask(decoded, u"*.html"), c.matchesHtml);
  EXPECT_EQ(core::MatchesMask(c.bytes, u"*.htm"), c.matchesHtm);
  EXPECT_EQ(core::MatchesMask(decoded, u"*.htm"), c.matchesHtm);
  EXPECT_EQ(core::MaskSet(core::kHtmlPattern).Accepts(c.bytes), c.matchesHtml || c.matchesHtm);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ByteMasks,
    testing::Values(ByteMaskCase{"Ascii", "index.html", true, false},
                    ByteMaskCase{"UpperCase", "INDEX.HTM", false, true},
                    ByteMaskCase{"Latin1Byte", "caf\xE9.html", true, false},
                    ByteMaskCase{"InvalidByteInExtension", "a.ht\xCDm", false, false},
                    ByteMaskCase{"InvalidByteLast", "a.htm\xE9", false, false},
                    ByteMaskCase{"Japanese", "\xE6\x97\xA5.HtMl", true, false},
                    ByteMaskCase{"Supplementary", "\xF0\x9F\x98\x80.htm", false, true},
                    ByteMaskCase{"TruncatedBeforeDot", "a\xE6\x97.html", true, false},
                    ByteMaskCase{"FullWidthLetters", "a.\xEF\xBD\x88tml", false, false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(SplitPattern, SplitsAtEverySpaceInOrder) {
  EXPECT_EQ(core::SplitPattern(core::kHtmlPattern),
            (std::vector<std::u16string>{u"*.html", u"*.htm"}));
  EXPECT_EQ(core::SplitPattern(u"a  b"), (std::vector<std::u16string>{u"a", u"", u"b"}));
}

TEST(MaskSet, AcceptsWhatAnyOfItsMasksMatches) {
  const core::MaskSet masks(core::kHtmlPattern);
  EXPECT_TRUE(masks.Accepts(std::u16string_view(u"a.HTML")));
  EXPECT_TRUE(masks.Accepts(std::u16string_view(u"a.htm")));
  EXPECT_FALSE(masks.Accepts(std::u16string_view(u"a.xhtml")));
  EXPECT_FALSE(masks.Accepts(std::u16string_view(u"a.html.bak")));
}

// A name's key with a-z read as A-Z, as the sort reads it.
std::string KeyOf(std::u16string_view name) {
  std::string key;
  core::AppendNameKey(name, key);
  for (char& byte : key) {
    if (byte >= 'a' && byte <= 'z') byte = static_cast<char>(byte - 'a' + 'A');
  }
  return key;
}

std::string KeyOfBytes(std::string_view bytes) { return KeyOf(core::DecodeLossless(bytes)); }

// Names whose order a plain byte sort gets wrong, beside ordinary ones. As UTF-16 code units,
// characters beyond U+FFFF (surrogate pairs, D800-DFFF) come before U+E000-U+FFFF, and a byte
// that is not UTF-8 (an escape, DC80-DCFF) comes after every pair and before U+E000; in UTF-8
// bytes both stand the other way round.
const std::vector<std::string> kTrickyByteNames = {
    "a",
    "A",
    "a.html",
    "A.HTML",
    "ab",
    "aB.html",
    "B",
    "b.htm",
    "Z",
    "zeta.html",
    "[a.html",
    "\\a.html",
    "]a.html",
    "^a.html",
    "_index.html",
    "_",
    "`a.html",
    "{a.html",
    "~a.html",
    "\x7F",
    ".html",
    "0.html",
    "\xC2\x80",               // U+0080
    "\xC3\xA9.html",          // U+00E9
    "\xC3\x89.html",          // U+00C9, not folded
    "\xDF\xBF",               // U+07FF
    "\xE0\xA0\x80",           // U+0800
    "\xE6\x97\xA5.html",      // U+65E5
    "\xED\x9F\xBF",           // U+D7FF, the last before the surrogates
    "\xF0\x90\x80\x80",       // U+10000: D800 DC00
    "\xF0\x9F\x98\x80.html",  // U+1F600: D83D DE00
    "\xF4\x8F\xBF\xBF",       // U+10FFFF: DBFF DFFF
    "\x80",                   // escape DC80
    "\xE9.html",              // escape DCE9
    "caf\xE9.html",           // escape inside a name
    "caf\xC3\xA9.html",       // the same name in UTF-8
    "\xFF",                   // escape DCFF
    "\xED\xA0\x80",           // an encoded surrogate: three escapes
    "\xF0\x9F\x98",           // a truncated sequence: three escapes
    "\xEE\x80\x80",           // U+E000
    "\xEF\xBF\xBD",           // U+FFFD
    "\xEF\xBF\xBF.html",      // U+FFFF
    "class_vellumine_1_1detail_1_1basic__view_0000001.html",
    "class_vellumine_1_1detail_1_1basic__view_0000001.htm",
    "class_vellumine_1_1detail_1_1basic__view_0000010.html",
    "class_vellumine_1_1detail_1_1basic__view_\xF0\x90\x80\x80.html",
    "class_vellumine_1_1detail_1_1basic__view_\xEE\x80\x80.html",
};

// UTF-16 names may hold lone surrogates on Windows; they order by their code units too.
const std::vector<std::u16string> kTrickyUnitNames = {u"a",
                                                      u"A.html",
                                                      u"_x.html",
                                                      u"\u00E9",
                                                      u"\uD7FF",
                                                      u"\U00010000",
                                                      u"\U0010FFFF",
                                                      u"\xD800",
                                                      u"\xD800"
                                                      u"a",
                                                      u"\xDBFF\xDBFF",
                                                      u"\xDC00",
                                                      u"\xDFFFz",
                                                      u"\uE000",
                                                      u"\uFFFF",
                                                      u"\U0001F600.html",
                                                      u"\uFF41",
                                                      u"\xD83D",
                                                      u"\xD83D\xDE00\xD83D"};

// Names that are UTF-8 without characters beyond U+FFFF are their own keys; the others are not.
TEST(NameKeys, NamesAreTheirOwnKeysExactlyWhenTheyAreUtf8WithinTheBmp) {
  for (const std::string& bytes : kTrickyByteNames) {
    std::string key;
    core::AppendNameKey(bytes, key);
    EXPECT_EQ(core::IsOwnNameKey(bytes), key == bytes) << bytes;
  }
  EXPECT_TRUE(core::IsOwnNameKey("a.html"));
  EXPECT_TRUE(core::IsOwnNameKey("\xE6\x97\xA5\xEF\xBF\xBF.html"));
  EXPECT_FALSE(core::IsOwnNameKey("\xF0\x9F\x98\x80.html"));
  EXPECT_FALSE(core::IsOwnNameKey("caf\xE9.html"));
  EXPECT_FALSE(core::IsOwnNameKey("\xED\xA0\x80"));
}

// Every pair of tricky names: the byte order of their keys is the name order of the names.
TEST(NameKeys, ByteOrderOfKeysIsTheNameOrder) {
  std::vector<std::u16string> names;
  for (const std::string& bytes : kTrickyByteNames) names.push_back(core::DecodeLossless(bytes));
  names.insert(names.end(), kTrickyUnitNames.begin(), kTrickyUnitNames.end());
  for (const std::u16string& left : names) {
    for (const std::u16string& right : names) {
      EXPECT_EQ(KeyOf(left) < KeyOf(right), core::NameLess(left, right))
          << core::EncodeLossless(left) << " | " << core::EncodeLossless(right);
    }
  }
}

TEST(NameKeys, PlainByteOrderWouldGetTheTrickyNamesWrong) {
  EXPECT_LT(std::string("\xEE\x80\x80"), std::string("\xF0\x90\x80\x80"));
  EXPECT_LT(KeyOfBytes("\xF0\x90\x80\x80"), KeyOfBytes("\xEE\x80\x80"));
  EXPECT_LT(std::string("\x80"), std::string("\xC3\xA9"));
  EXPECT_LT(KeyOfBytes("\xC3\xA9"), KeyOfBytes("\x80"));
}

// The list's order for a table of names against the simple rule: sorted by NameLess, every name
// kept, and for names that differ under the folding exactly the order NameLess gives.
template <class Name>
void ExpectNameOrder(const std::vector<Name>& given) {
  core::NameList list;
  std::vector<std::u16string> expected;
  for (const Name& name : given) {
    list.Add(name);
    if constexpr (std::is_same_v<Name, std::string>) {
      expected.push_back(core::DecodeLossless(name));
    } else {
      expected.push_back(name);
    }
  }
  list.SortByName();
  const std::vector<std::u16string> sorted = AllNames(list);
  EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(),
                             [](const auto& a, const auto& b) { return core::NameLess(a, b); }));
  std::vector<std::u16string> reordered = sorted;
  std::sort(reordered.begin(), reordered.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(reordered, expected);
}

TEST(NameOrder, OfTrickyNamesFollowsTheSimpleRule) {
  ExpectNameOrder(kTrickyByteNames);
  ExpectNameOrder(kTrickyUnitNames);
  std::vector<std::string> reversed(kTrickyByteNames.rbegin(), kTrickyByteNames.rend());
  ExpectNameOrder(reversed);
}

struct OrderCase {
  const char* label;
  std::vector<std::string> given;  // POSIX names
  std::vector<std::u16string> shown;
};

class NameOrderOfBytes : public testing::TestWithParam<OrderCase> {};

TEST_P(NameOrderOfBytes, IsTheOrderOfTheDecodedNames) {
  core::NameList list;
  for (const std::string& name : GetParam().given) list.Add(name);
  list.SortByName();
  EXPECT_EQ(AllNames(list), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NameOrderOfBytes,
    testing::Values(OrderCase{"FoldsOnlyAsciiLowerCase",
                              {"Zeta.html", "alpha.html", "_x.html", "Beta.htm"},
                              {u"alpha.html", u"Beta.htm", u"Zeta.html", u"_x.html"}},
                    OrderCase{"PunctuationAfterLetters",
                              {"_index.html", "zeta.html", "`a.html", "[a.html", "ab.html",
                               "a.html", "\xC3\xA9.html"},
                              {u"a.html", u"ab.html", u"zeta.html", u"[a.html", u"_index.html",
                               u"`a.html", u"\u00E9.html"}},
                    OrderCase{"PrefixFirst", {"a.html", "a", "a.htm"}, {u"a", u"a.htm", u"a.html"}},
                    OrderCase{"SupplementaryBeforePrivateUse",
                              {"\xEE\x80\x80.html", "\xF0\x9F\x98\x80.html", "\xED\x9F\xBF.html"},
                              {u"\uD7FF.html", u"\U0001F600.html", u"\uE000.html"}},
                    OrderCase{"EscapedBytesBetweenPairsAndPrivateUse",
                              {"\xEF\xBF\xBD", "\xE9", "\xF4\x8F\xBF\xBF", "\xC3\xA9", "\x80"},
                              {u"\u00E9", u"\U0010FFFF", u"\xDC80", u"\xDCE9", u"\uFFFD"}},
                    OrderCase{"LongSharedPrefix",
                              {"class_vellumine_1_1detail_1_1basic__view_0000010.html",
                               "class_vellumine_1_1detail_1_1basic__view_\xEE\x80\x80.html",
                               "class_vellumine_1_1detail_1_1basic__view_0000001.html",
                               "class_vellumine_1_1detail_1_1basic__view_\xF0\x90\x80\x80.html",
                               "class_vellumine_1_1detail_1_1basic__view_0000001.htm"},
                              {u"class_vellumine_1_1detail_1_1basic__view_0000001.htm",
                               u"class_vellumine_1_1detail_1_1basic__view_0000001.html",
                               u"class_vellumine_1_1detail_1_1basic__view_0000010.html",
                               u"class_vellumine_1_1detail_1_1basic__view_\U00010000.html",
                               u"class_vellumine_1_1detail_1_1basic__view_\uE000.html"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(NameOrder, PrefixComesFirst) {
  EXPECT_TRUE(core::NameLess(u"a", u"a.html"));
  EXPECT_FALSE(core::NameLess(u"a.html", u"a"));
  EXPECT_FALSE(core::NameLess(u"A.html", u"a.html"));
  EXPECT_FALSE(core::NameLess(u"a.html", u"A.html"));
}

}  // namespace
