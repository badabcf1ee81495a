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

TEST(ReadableText, ShowsEscapedBytesAsReplacementCharacters) {
  EXPECT_EQ(core::ReadableText(core::DecodeLossless("caf\xE9.html")), u"caf\xFFFD.html");
  EXPECT_EQ(core::ReadableText(u"日本\U0001F600.html"), u"日本\U0001F600.html");
}

}  // namespace
