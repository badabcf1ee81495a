#include "core/encoding.h"

#include <gtest/gtest.h>

namespace {

struct RoundTrip {
  const char* label;
  std::string bytes;
  std::u16string decoded;
};

class LosslessEncoding : public testing::TestWithParam<RoundTrip> {};

TEST_P(LosslessEncoding, DecodesAndRestoresTheSameBytes) {
  EXPECT_EQ(core::DecodeLossless(GetParam().bytes), GetParam().decoded);
  EXPECT_EQ(core::EncodeLossless(GetParam().decoded), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LosslessEncoding,
    testing::Values(RoundTrip{"Ascii", "index.html", u"index.html"},
                    RoundTrip{"Japanese", "\xE6\x97\xA5\xE6\x9C\xAC.html", u"日本.html"},
                    RoundTrip{"Astral", "\xF0\x9F\x98\x80", u"\U0001F600"},
                    RoundTrip{"Latin1Byte", "caf\xE9.html", u"caf\xDCE9.html"},
                    RoundTrip{"TruncatedSequence", "a\xE6\x97", u"a\xDCE6\xDC97"},
                    RoundTrip{"OverlongSlash", "\xC0\xAF", u"\xDCC0\xDCAF"},
                    RoundTrip{"EncodedSurrogate", "\xED\xB2\x80", u"\xDCED\xDCB2\xDC80"}),
    [](const auto& info) { return std::string(info.param.label); });

struct Wtf8Case {
  const char* label;
  std::u16string text;
  std::string bytes;
};

class Wtf8Encoding : public testing::TestWithParam<Wtf8Case> {};

TEST_P(Wtf8Encoding, KeepsEveryCodeUnit) {
  EXPECT_EQ(core::EncodeWtf8(GetParam().text), GetParam().bytes);
  EXPECT_EQ(core::DecodeWtf8(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, Wtf8Encoding,
                         testing::Values(Wtf8Case{"Ascii", u"index.html", "index.html"},
                                         Wtf8Case{"Japanese", u"日本", "\xE6\x97\xA5\xE6\x9C\xAC"},
                                         Wtf8Case{"Pair", u"\U0001F600", "\xF0\x9F\x98\x80"},
                                         Wtf8Case{"LoneHigh", u"a\xD800", "a\xED\xA0\x80"},
                                         Wtf8Case{"LoneLow",
                                                  u"\xDC00"
                                                  u"a",
                                                  "\xED\xB0\x80"
                                                  "a"},
                                         Wtf8Case{"LowThenHigh", u"\xDCC3\xD83D",
                                                  "\xED\xB3\x83\xED\xA0\xBD"}),
                         [](const auto& info) { return std::string(info.param.label); });

class Wtf8Refusals : public testing::TestWithParam<std::string> {};

TEST_P(Wtf8Refusals, AreNotDecoded) { EXPECT_EQ(core::DecodeWtf8(GetParam()), std::nullopt); }

INSTANTIATE_TEST_SUITE_P(Cases, Wtf8Refusals,
                         testing::Values("caf\xE9", "a\xE6\x97", "\xC0\xAF",
                                         "\xED\xA0\xBD\xED\xB8\x80", "\xF4\x90\x80\x80"));

TEST(ReadableText, ShowsEscapedBytesAsReplacementCharacters) {
  EXPECT_EQ(core::ReadableText(core::DecodeLossless("caf\xE9.html")), u"caf\xFFFD.html");
  EXPECT_EQ(core::ReadableText(u"日本\U0001F600.html"), u"日本\U0001F600.html");
}

}  // namespace
