#include "core/key_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

std::string UpperAscii(std::string key) {
  for (char& byte : key) {
    if (byte >= 'a' && byte <= 'z') byte = static_cast<char>(byte - 'a' + 'A');
  }
  return key;
}

// The keys in the order SortNameKeys gives, against a plain sort of the strings with a-z as A-Z.
void ExpectFoldedByteOrder(const std::vector<std::string>& keys) {
  std::vector<core::SortKey> sortKeys;
  for (std::uint32_t owner = 0; owner < keys.size(); ++owner) {
    sortKeys.push_back(
        {keys[owner].data(), static_cast<std::uint32_t>(keys[owner].size()), owner, 0});
  }
  core::SortNameKeys(sortKeys);
  std::vector<std::string> sorted;
  std::vector<std::uint32_t> owners;
  for (const core::SortKey& key : sortKeys) {
    sorted.push_back(UpperAscii(keys.at(key.owner)));
    owners.push_back(key.owner);
  }
  std::vector<std::string> expected;
  for (const std::string& key : keys) expected.push_back(UpperAscii(key));
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(sorted, expected);
  std::sort(owners.begin(), owners.end());
  EXPECT_EQ(std::adjacent_find(owners.begin(), owners.end()), owners.end());
}

// Random keys of a given shape, the same on every run.
struct KeyShape {
  const char* label;
  std::size_t count;
  std::string sharedPrefix;
  std::size_t minimumLength;  // after the prefix
  std::size_t maximumLength;
  std::string alphabet;
};

std::vector<std::string> KeysOf(const KeyShape& shape) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<std::size_t> length(shape.minimumLength, shape.maximumLength);
  std::uniform_int_distribution<std::size_t> letter(0, shape.alphabet.size() - 1);
  std::vector<std::string> keys;
  for (std::size_t i = 0; i < shape.count; ++i) {
    std::string key = shape.sharedPrefix;
    for (std::size_t n = length(random); n > 0; --n) key += shape.alphabet[letter(random)];
    keys.push_back(key);
  }
  return keys;
}

class KeyOrder : public testing::TestWithParam<KeyShape> {};

TEST_P(KeyOrder, IsByteOrderWithAsciiLettersUpperCasedAndPrefixesFirst) {
  ExpectFoldedByteOrder(KeysOf(GetParam()));
}

// Around the letters, where reading a-z as A-Z could go wrong: "@" and "[" beside "A" and "Z",
// "`" and "{" beside "a" and "z", and the same with the high bit set.
const std::string kLetterEdges = "@AZ[`az{\xC0\xC1\xDA\xDB\xE0\xE1\xFA\xFB";

INSTANTIATE_TEST_SUITE_P(
    Shapes, KeyOrder,
    testing::Values(KeyShape{"Few", 5, "", 0, 3, "ab"},
                    KeyShape{"ShortAndDuplicated", 3000, "", 0, 3, "abAB"},
                    KeyShape{"AcrossChunkEdges", 3000, "", 6, 18, "abC"},
                    KeyShape{"LongSharedPrefix", 3000, "class_vellumine_1_1detail_1_1basic__view_",
                             0, 12, "0123456789.htmHTML"},
                    KeyShape{"SharedPrefixOfWholeChunks", 3000, "0123456789abcdef", 0, 9, "xyXY"},
                    KeyShape{"LetterEdges", 3000, "", 1, 20, kLetterEdges},
                    KeyShape{"HighBytes", 3000, "", 1, 12, "\x01\x7F\x80\xC3\xED\xEE\xEF\xFF"},
                    KeyShape{"ZeroBytes", 3000, "", 0, 10, std::string("\0\0a", 3)},
                    KeyShape{"AllEqual", 100, "same key across chunks", 0, 0, "a"},
                    KeyShape{"ManyShort", 40000, "", 1, 4, "abcdefghijklmnopqrstuvwxyz"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(KeyOrder, EdgeCases) {
  ExpectFoldedByteOrder({});
  ExpectFoldedByteOrder({""});
  ExpectFoldedByteOrder({"", "", "a", ""});
  ExpectFoldedByteOrder({"abcdefgh", "abcdefg", "abcdefghi", std::string("abcdefgh\0", 9)});
  std::vector<std::string> prefixes;
  for (std::size_t length = 40; length-- > 0;) prefixes.push_back(std::string(length, 'k'));
  ExpectFoldedByteOrder(prefixes);
  std::vector<std::string> zeros;
  for (std::size_t length = 40; length-- > 0;) zeros.push_back(std::string(length, '\0'));
  ExpectFoldedByteOrder(zeros);
}

}  // namespace
