#include "core/content_types.h"

#include <string>

#include <gtest/gtest.h>

#include "core/encoding.h"

namespace {

struct NamedType {
  const char* label;
  std::u16string name;
  std::string_view type;
};

class ContentTypeByName : public testing::TestWithParam<NamedType> {};

TEST_P(ContentTypeByName, ComesFromTheExtensionAlone) {
  EXPECT_EQ(core::ContentTypeByName(GetParam().name), GetParam().type);
}

INSTANTIATE_TEST_SUITE_P(Cases, ContentTypeByName,
                         testing::Values(NamedType{"Html", u"index.html", "text/html"},
                                         NamedType{"HtmInCapitals", u"ABOUT.HTM", "text/html"},
                                         NamedType{"Xhtml", u"page.xhtml", "application/xhtml+xml"},
                                         NamedType{"Script", u"doctools.js", "text/javascript"},
                                         NamedType{"ModuleScript", u"main.MJS", "text/javascript"},
                                         NamedType{"Stylesheet", u"pydoctheme.css", "text/css"},
                                         NamedType{"Font", u"lato.woff2", "font/woff2"},
                                         NamedType{"SourceText", u"index.rst.txt", "text/plain"},
                                         NamedType{"OnlyTheLastExtensionCounts", u"notes.js.txt",
                                                   "text/plain"},
                                         NamedType{"SecretsAreNoType", u"app.env", ""},
                                         NamedType{"NoExtension", u"README", ""},
                                         NamedType{"EmptyExtension", u"page.", ""},
                                         NamedType{"ExtensionPastTheTable", u"a.zzz", ""}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(ContentTypes, OnlyWebFontTypesAreFonts) {
  for (const std::u16string_view name : {u"a.ttf", u"a.otf", u"a.woff", u"a.woff2", u"a.eot"})
    EXPECT_TRUE(core::IsFontType(core::ContentTypeByName(name)));
  for (const std::u16string_view name : {u"a.svg", u"a.json", u"a.js", u"secret"})
    EXPECT_FALSE(core::IsFontType(core::ContentTypeByName(name)));
}

// Names as browsers and wget save them, against the names they had on the web.
TEST(ContentTypes, PublishedNameDropsWhatSaversAdd) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"jquery.min.js.download", u"jquery.min.js"},
      {u"analytics.JS.DOWNLOAD", u"analytics.JS"},
      {u"app.js?v=3", u"app.js"},
      {u"brand.woff2?v=2", u"brand.woff2"},
      {u"style.css?v=2.css", u"style.css"},
      {u"app.js?v=3.download", u"app.js"},
      {u"app.env?x.js", u"app.env"},
      {u"secret.env.download", u"secret.env"},
      {u".download", u".download"},
      {u"?v=1", u"?v=1"},
      {u"q?x.html", u"q?x.html"},
      {u"analytics?v=3", u"analytics?v=3"},
      {u"index.html", u"index.html"},
      {u"analytics", u"analytics"},
  };
  for (const auto& [saved, published] : cases) {
    EXPECT_EQ(core::PublishedName(saved), published) << core::EncodeLossless(saved);
  }
}

struct UntypedCase {
  core::PathStyle style;
  std::u16string_view pageFolder;
  std::u16string_view path;
  bool mayServe;
};

// A saved page's own files without extensions serve it; nothing outside its folder, hidden, or
// named as a key or configuration does.
TEST(ContentTypes, OnlyAPagesOwnFilesServeWithoutAType) {
  using core::PathStyle;
  const UntypedCase cases[] = {
      {PathStyle::Posix, u"/s/site", u"/s/site/js/analytics", true},
      {PathStyle::Posix, u"/s/site/", u"/s/site/analytics", true},
      {PathStyle::Posix, u"/s/site", u"/s/site/deep/er/font", true},
      {PathStyle::Posix, u"/s/site", u"/s/other/analytics", false},
      {PathStyle::Posix, u"/s/site", u"/s/site2/analytics", false},
      {PathStyle::Posix, u"/s/site", u"/s/analytics", false},
      {PathStyle::Posix, u"/s/site", u"/s/site", false},
      {PathStyle::Posix, u"/s/site", u"/s/site/", false},
      {PathStyle::Posix, u"/s/site", u"/s/site/.git/config", false},
      {PathStyle::Posix, u"/s/site", u"/s/site/.hidden/analytics", false},
      {PathStyle::Posix, u"/s/site", u"/s/site/a/.env", false},
      {PathStyle::Posix, u"/s/site", u"/s/site/app.env", false},
      {PathStyle::Posix, u"/s/site", u"/s/site/id_rsa", false},
      {PathStyle::Posix, u"/s/site", u"/s/site/aws/Credentials", false},
      {PathStyle::Posix, u"/s/site", u"/S/SITE/analytics", false},
      {PathStyle::Windows, u"C:\\s\\site", u"c:\\S\\Site\\js\\analytics", true},
      {PathStyle::Windows, u"C:\\s\\site", u"C:\\s\\site/js/analytics", true},
      {PathStyle::Windows, u"C:\\s\\site", u"C:\\s\\site\\.ssh\\key", false},
      {PathStyle::Windows, u"C:\\s\\site", u"C:\\s\\other\\analytics", false},
  };
  for (const UntypedCase& c : cases) {
    EXPECT_EQ(core::MayServeWithoutType(c.style, c.pageFolder, c.path), c.mayServe)
        << core::EncodeLossless(c.path);
  }
}

struct CharsetCase {
  const char* label;
  std::string_view type;
  std::string head;
  bool validUtf8;
  std::string_view charset;
};

class CharsetToDeclare : public testing::TestWithParam<CharsetCase> {};

TEST_P(CharsetToDeclare, IsUtf8OnlyWhereNothingElseDecides) {
  EXPECT_EQ(core::CharsetToDeclare(GetParam().type, GetParam().head, GetParam().validUtf8),
            GetParam().charset);
}

const std::string kFarMeta = std::string(1100, ' ') + "<meta charset='iso-8859-1'>";

INSTANTIATE_TEST_SUITE_P(
    Cases, CharsetToDeclare,
    testing::Values(
        CharsetCase{"HtmlWithoutDeclaration", "text/html",
                    "<p>l\xC3\xAA"
                    "ers",
                    true, "utf-8"},
        CharsetCase{"HtmlNotUtf8", "text/html",
                    "<p>l\xEA"
                    "ers",
                    false, ""},
        CharsetCase{"HtmlMetaCharset", "text/html", "<head><META Charset=latin1>", true, ""},
        CharsetCase{"HtmlHttpEquiv", "text/html",
                    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\">",
                    true, ""},
        CharsetCase{"HtmlMetaSelfClosed", "text/html", "<meta/charset=\"latin1\">", true, ""},
        CharsetCase{"HtmlMetaInAComment", "text/html", "<!-- <meta charset=latin1> --><p>", true,
                    "utf-8"},
        CharsetCase{"HtmlMetaWithoutCharset", "text/html", "<meta name=viewport><metadata>", true,
                    "utf-8"},
        CharsetCase{"HtmlMetaBeyondThePrescan", "text/html", kFarMeta, true, "utf-8"},
        CharsetCase{"HtmlUtf8ByteOrderMark", "text/html", "\xEF\xBB\xBF<p>", true, ""},
        CharsetCase{"HtmlUtf16ByteOrderMark", "text/html", "\xFF\xFE<\0p\0", false, ""},
        CharsetCase{"CssCharsetRule", "text/css", "@charset \"iso-8859-1\"; a {}", true, ""},
        CharsetCase{"CssWithoutRule", "text/css", "a { content: '\xC3\xAA' }", true, "utf-8"},
        CharsetCase{"Script", "text/javascript", "var a = 1;", true, "utf-8"},
        CharsetCase{"PlainText", "text/plain",
                    "l\xC3\xAA"
                    "ers",
                    true, "utf-8"},
        CharsetCase{"Json", "application/json", "{}", true, "utf-8"},
        CharsetCase{"XhtmlDecidesItself", "application/xhtml+xml", "<html/>", true, ""},
        CharsetCase{"XmlDecidesItself", "text/xml", "<a/>", true, ""},
        CharsetCase{"ImageIsNoText", "image/png", "PNG", true, ""},
        CharsetCase{"UnknownTypeIsNoText", "", "plain words", true, ""}),
    [](const auto& info) { return std::string(info.param.label); });

// The plain rule: valid exactly when lossless decoding needs no escape for any byte.
bool DecodesWithoutEscapes(std::string_view bytes) {
  const std::u16string decoded = core::DecodeLossless(bytes);
  return core::EncodeLossless(decoded) == bytes &&
         core::ReadableText(decoded).find(u'\xFFFD') == std::u16string::npos;
}

class Utf8Check : public testing::TestWithParam<std::string> {};

TEST_P(Utf8Check, AgreesWithDecodingHoweverTheBytesAreSplit) {
  const std::string& bytes = GetParam();
  const bool expected = DecodesWithoutEscapes(bytes);
  for (std::size_t split = 0; split <= bytes.size(); ++split) {
    core::Utf8Check check;
    check.Feed(std::string_view(bytes).substr(0, split));
    check.Feed(std::string_view(bytes).substr(split));
    EXPECT_EQ(check.Valid(), expected) << "split at " << split;
  }
  core::Utf8Check byteByByte;
  for (const char byte : bytes) byteByByte.Feed(std::string_view(&byte, 1));
  EXPECT_EQ(byteByByte.Valid(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8Check,
    testing::Values("", "plain ascii, longer than one eight-byte word",
                    "l\xC3\xAA"
                    "ers",
                    "\xE6\x97\xA5\xE6\x9C\xAC and \xF0\x9F\x98\x80 after sixteen bytes", "caf\xE9",
                    "ends in a lead \xC3", "ends in half \xF0\x9F\x98", "overlong \xC0\xAF slash",
                    "overlong \xE0\x80\x80 three", "surrogate \xED\xB2\x80",
                    "beyond \xF4\x90\x80\x80", "lone \x80 continuation",
                    "\xC3\xAA\xC3\xAA\xC3\xAA\xC3\xAA\xC3\xAA\xC3\xAA", "\xFF"));

}  // namespace
