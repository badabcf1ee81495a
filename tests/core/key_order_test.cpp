#include "core/key_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

struct Packed {
  std::string keys;
  std::vector<std::uint32_t> ends;
  std::vector<std::string> each;
};

Packed Pack(const std::vector<std::string>& keys) {
  Packed packed;
  for (const std::string& key : keys) {
    packed.keys += key;
    packed.ends.push_back(static_cast<std::uint32_t>(packed.keys.size()));
    packed.each.push_back(key);
  }
  return packed;
}

// The keys in the order SortedKeyOrder gives, against a plain sort of the strings.
void ExpectPlainByteOrder(const std::vector<std::string>& keys) {
  const Packed packed = Pack(keys);
  const std::vector<std::uint32_t> order = core::SortedKeyOrder(packed.keys, packed.ends);
  ASSERT_EQ(order.size(), keys.size());
  std::vector<std::string> sorted;
  for (const std::uint32_t index : order) sorted.push_back(packed.each.at(index));
  std::vector<std::string> expected = keys;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(sorted, expected);
  std::vector<std::uint32_t> indices = order;
  std::sort(indices.begin(), indices.end());
  EXPECT_EQ(std::adjacent_find(indices.begin(), indices.end()), indices.end());
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

TEST_P(KeyOrder, IsPlainByteOrderWithPrefixesFirst) { ExpectPlainByteOrder(KeysOf(GetParam())); }

const std::string kHighBytes = "\x01\x7F\x80\xC3\xED\xEE\xEF\xFF";

INSTANTIATE_TEST_SUITE_P(
    Shapes, KeyOrder,
    testing::Values(KeyShape{"Few", 5, "", 0, 3, "ab"},
                    KeyShape{"ShortAndDuplicated", 3000, "", 0, 3, "ab"},
                    KeyShape{"AcrossChunkEdges", 3000, "", 6, 18, "abc"},
                    KeyShape{"LongSharedPrefix", 3000, "class_vellumine_1_1detail_1_1basic__view_",
                             0, 12, "0123456789.htmHTML"},
                    KeyShape{"SharedPrefixOfWholeChunks", 3000, "0123456789abcdef", 0, 9, "xy"},
                    KeyShape{"HighBytes", 3000, "", 1, 12, kHighBytes},
                    KeyShape{"ZeroBytes", 3000, "", 0, 10, std::string("\0\0a", 3)},
                    KeyShape{"AllEqual", 100, "same key across chunks", 0, 0, "a"},
                    KeyShape{"ManyShort", 40000, "", 1, 4, "abcdefghijklmnopqrstuvwxyz"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(KeyOrder, EdgeCases) {
  ExpectPlainByteOrder({});
  ExpectPlainByteOrder({""});
  ExpectPlainByteOrder({"", "", "a", ""});
  ExpectPlainByteOrder({"abcdefgh", "abcdefg", "abcdefghi", "abcdefgh\0"});
  std::vector<std::string> prefixes;
  for (std::size_t length = 40; length-- > 0;) prefixes.push_back(std::string(length, 'k'));
  ExpectPlainByteOrder(prefixes);
  std::vector<std::string> zeros;
  for (std::size_t length = 40; length-- > 0;) zeros.push_back(std::string(length, '\0'));
  ExpectPlainByteOrder(zeros);
}

}  // namespace
