#include "core/paths.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>

namespace {

using core::PathStyle;

struct SplitCase {
  PathStyle style;
  std::u16string_view path;
  std::u16string_view folder;
  std::u16string_view name;
};

class PathSplitting : public testing::TestWithParam<SplitCase> {};

TEST_P(PathSplitting, SplitsAtTheLastSeparator) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(core::FolderPart(c.style, c.path), c.folder);
  EXPECT_EQ(core::FileNamePart(c.style, c.path), c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PathSplitting,
    testing::Values(SplitCase{PathStyle::Windows, u"C:\\site\\index.html", u"C:\\site\\",
                              u"index.html"},
                    SplitCase{PathStyle::Windows, u"C:index.html", u"C:", u"index.html"},
                    SplitCase{PathStyle::Windows, u"a/b.html", u"", u"a/b.html"},
                    SplitCase{PathStyle::Windows, u"page.html", u"", u"page.html"},
                    SplitCase{PathStyle::Posix, u"/site/index.html", u"/site/", u"index.html"},
                    SplitCase{PathStyle::Posix, u"a\\b:c.html", u"", u"a\\b:c.html"},
                    SplitCase{PathStyle::Posix, u"/index.html", u"/", u"index.html"},
                    SplitCase{PathStyle::Posix, u"page.html", u"", u"page.html"}));

struct JoinCase {
  PathStyle style;
  std::u16string_view folder;
  std::u16string_view joined;
};

class Joining : public testing::TestWithParam<JoinCase> {};

TEST_P(Joining, AddsASeparatorOnlyWhenTheFolderLacksOne) {
  EXPECT_EQ(core::JoinPath(GetParam().style, GetParam().folder, u"*"), GetParam().joined);
}

INSTANTIATE_TEST_SUITE_P(Cases, Joining,
                         testing::Values(JoinCase{PathStyle::Windows, u"C:\\site", u"C:\\site\\*"},
                                         JoinCase{PathStyle::Windows, u"C:\\site\\",
                                                  u"C:\\site\\*"},
                                         JoinCase{PathStyle::Windows, u"C:/site/", u"C:/site/*"},
                                         JoinCase{PathStyle::Windows, u"C:", u"C:*"},
                                         JoinCase{PathStyle::Posix, u"/site", u"/site/*"},
                                         JoinCase{PathStyle::Posix, u"/site/", u"/site/*"},
                                         JoinCase{PathStyle::Posix, u"a:", u"a:/*"},
                                         JoinCase{PathStyle::Posix, u"a\\", u"a\\/*"}));

struct AddressCase {
  const char* label;
  PathStyle style;
  std::u16string_view folder;
  std::u16string_view name;
  std::u16string_view filePath;
  std::u16string_view address;
};

class PageAddresses : public testing::TestWithParam<AddressCase> {};

TEST_P(PageAddresses, JoinsAndBuildsTheAddressWithoutEscaping) {
  const AddressCase& c = GetParam();
  const std::u16string path = core::SelectedFilePath(c.style, c.folder, c.name);
  EXPECT_EQ(path, c.filePath);
  EXPECT_EQ(core::PageAddress(c.style, path), c.address);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PageAddresses,
    testing::Values(
        AddressCase{"WindowsFolder", PathStyle::Windows, u"C:\\site", u"index.html",
                    u"C:\\site\\index.html", u"file:///C:/site/index.html"},
        AddressCase{"WindowsTrailingBackslash", PathStyle::Windows, u"C:\\site\\", u"index.html",
                    u"C:\\site\\index.html", u"file:///C:/site/index.html"},
        AddressCase{"WindowsDriveRoot", PathStyle::Windows, u"D:\\", u"a.htm", u"D:\\a.htm",
                    u"file:///D:/a.htm"},
        AddressCase{"WindowsNetworkShare", PathStyle::Windows, u"\\\\server\\share\\docs",
                    u"p.html", u"\\\\server\\share\\docs\\p.html",
                    u"file:////server/share/docs/p.html"},
        AddressCase{"WindowsNetworkShareTrailingBackslash", PathStyle::Windows,
                    u"\\\\server\\share\\", u"p.html", u"\\\\server\\share\\p.html",
                    u"file:////server/share/p.html"},
        AddressCase{"WindowsExtendedLength", PathStyle::Windows, u"\\\\?\\C:\\site", u"p.html",
                    u"\\\\?\\C:\\site\\p.html", u"file:////?/C:/site/p.html"},
        AddressCase{"WindowsRelativeFolder", PathStyle::Windows, u"docs", u"p.html",
                    u"docs\\p.html", u"file:///docs/p.html"},
        AddressCase{"WindowsUnescaped", PathStyle::Windows, u"C:\\site", u"a b#1.html",
                    u"C:\\site\\a b#1.html", u"file:///C:/site/a b#1.html"},
        AddressCase{"PosixFolder", PathStyle::Posix, u"/site", u"index.html", u"/site/index.html",
                    u"file:///site/index.html"},
        AddressCase{"PosixTrailingSlash", PathStyle::Posix, u"/site/", u"index.html",
                    u"/site/index.html", u"file:///site/index.html"},
        AddressCase{"PosixRoot", PathStyle::Posix, u"/", u"a.htm", u"/a.htm", u"file:///a.htm"},
        AddressCase{"PosixRelativeFolder", PathStyle::Posix, u"docs", u"p.html", u"docs/p.html",
                    u"file:///docs/p.html"},
        AddressCase{"PosixBackslashIsANameCharacter", PathStyle::Posix, u"/site", u"a\\b.html",
                    u"/site/a\\b.html", u"file:///site/a\\b.html"},
        AddressCase{"PosixUnescaped", PathStyle::Posix, u"/site", u"a b#1 %41.html",
                    u"/site/a b#1 %41.html", u"file:///site/a b#1 %41.html"}),
    [](const auto& info) { return std::string(info.param.label); });

// A path that starts with one "\\" gets three slashes, so the server of a share whose leading
// "\\\\" was shortened reads as a folder; the engine's URL keeps the server (EngineUrls).
TEST(PageAddress, OneLeadingBackslashGivesThreeSlashes) {
  EXPECT_EQ(core::PageAddress(PathStyle::Windows, u"\\server\\share\\docs\\p.html"),
            u"file:///server/share/docs/p.html");
}

TEST(ReplaceAll, OnePassOverNonOverlappingOccurrences) {
  EXPECT_EQ(core::ReplaceAll(u"a\\\\\\b", u"\\\\", u"\\"), u"a\\\\b");
  EXPECT_EQ(core::ReplaceAll(u"file://///x", u"////", u"///"), u"file:////x");
}

struct HelpCase {
  PathStyle style;
  std::u16string_view executable;
  std::u16string_view helpPage;
};

class HelpPages : public testing::TestWithParam<HelpCase> {};

TEST_P(HelpPages, LieInTheExecutablesFolder) {
  EXPECT_EQ(core::HelpPagePath(GetParam().style, GetParam().executable), GetParam().helpPage);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HelpPages,
    testing::Values(
        HelpCase{PathStyle::Windows, u"C:\\Tools\\Vellumine.exe", u"C:\\Tools\\help.html"},
        HelpCase{PathStyle::Windows, u"E:\\Vellumine.exe", u"E:\\\\help.html"},
        HelpCase{PathStyle::Windows, u"\\\\srv\\share\\v.exe", u"\\\\srv\\share\\help.html"},
        HelpCase{PathStyle::Windows, u"E:Vellumine.exe", u"E:\\help.html"},
        HelpCase{PathStyle::Posix, u"/usr/lib/vellumine/vellumine",
                 u"/usr/lib/vellumine/help.html"},
        HelpCase{PathStyle::Posix, u"/vellumine", u"/help.html"}));

struct EngineUrlCase {
  PathStyle style;
  std::u16string_view fullPath;
  std::string_view url;
  std::u16string_view fileBack = {};  // when it differs from the full path
};

class EngineUrls : public testing::TestWithParam<EngineUrlCase> {};

// Each URL names its file again through FilePathFromUrl, as the page scheme reads it.
TEST_P(EngineUrls, KeepEveryCharacterOfTheFileNameAndLeadBackToIt) {
  const EngineUrlCase& c = GetParam();
  const std::string url = core::EngineUrlFromPath(c.style, c.fullPath);
  EXPECT_EQ(url, c.url);
  const std::size_t hostStart = url.find("://") + 3;
  const std::size_t pathStart = url.find('/', hostStart);
  const std::optional<std::u16string> file =
      core::FilePathFromUrl(c.style, std::string_view(url).substr(hostStart, pathStart - hostStart),
                            std::string_view(url).substr(pathStart));
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(*file, c.fileBack.empty() ? c.fullPath : c.fileBack);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EngineUrls,
    testing::Values(
        EngineUrlCase{PathStyle::Posix, u"/site/index.html",
                      "vellumine://localhost/site/index.html"},
        EngineUrlCase{PathStyle::Windows, u"C:\\site\\a b#1.html",
                      "vellumine://localhost/C:/site/a%20b%231.html"},
        EngineUrlCase{PathStyle::Posix, u"/site/%41.html", "vellumine://localhost/site/%2541.html"},
        EngineUrlCase{PathStyle::Posix, u"/site/q?.html", "vellumine://localhost/site/q%3F.html"},
        EngineUrlCase{PathStyle::Posix, u"/site/日本.html",
                      "vellumine://localhost/site/%E6%97%A5%E6%9C%AC.html"},
        EngineUrlCase{PathStyle::Posix, u"/site/caf\xDCE9.html",
                      "vellumine://localhost/site/caf%E9.html"},
        EngineUrlCase{PathStyle::Posix, u"/site/a\\b.html",
                      "vellumine://localhost/site/a%5Cb.html"},
        EngineUrlCase{PathStyle::Windows, u"C:\\日本\U0001F600.html",
                      "vellumine://localhost/C:/%E6%97%A5%E6%9C%AC%F0%9F%98%80.html"},
        EngineUrlCase{PathStyle::Windows, u"C:\\\xD800.html",
                      "vellumine://localhost/C:/%ED%A0%80.html"},
        EngineUrlCase{PathStyle::Windows, u"C:\\\xDC00.html",
                      "vellumine://localhost/C:/%ED%B0%80.html"},
        EngineUrlCase{PathStyle::Windows, u"C:\\\xFFFD.html",
                      "vellumine://localhost/C:/%EF%BF%BD.html"},
        EngineUrlCase{PathStyle::Windows, u"C:\\\xDCC3\xDCA9.html",
                      "vellumine://localhost/C:/%ED%B3%83%ED%B2%A9.html"},
        EngineUrlCase{PathStyle::Windows, u"C:\\\xDC00\xD800.html",
                      "vellumine://localhost/C:/%ED%B0%80%ED%A0%80.html"},
        EngineUrlCase{PathStyle::Windows, u"\\\\server\\share\\docs\\p.html",
                      "vellumine://server/share/docs/p.html"},
        EngineUrlCase{PathStyle::Windows, u"\\\\?\\UNC\\server\\share\\p.html",
                      "vellumine://server/share/p.html", u"\\\\server\\share\\p.html"},
        EngineUrlCase{PathStyle::Windows, u"\\\\?\\C:\\site\\p.html",
                      "vellumine://localhost/C:/site/p.html", u"C:\\site\\p.html"}));

// Names that differ in any UTF-16 code unit never share a URL.
TEST(EngineUrls, DistinctWindowsNamesHaveDistinctUrls) {
  const std::u16string_view names[] = {u"C:\\\xD800.html",      u"C:\\\xDC00.html",
                                       u"C:\\\xFFFD.html",      u"C:\\\xDCC3\xDCA9.html",
                                       u"C:\\\xE9.html",        u"C:\\\xD800\xDC00.html",
                                       u"C:\\\xDC00\xD800.html"};
  std::set<std::string> urls;
  for (const std::u16string_view name : names) {
    urls.insert(core::EngineUrlFromPath(PathStyle::Windows, name));
  }
  EXPECT_EQ(urls.size(), std::size(names));
}

struct UrlFileCase {
  PathStyle style;
  std::string_view host;
  std::string_view encodedPath;
  std::optional<std::u16string_view> file;
};

class UrlFiles : public testing::TestWithParam<UrlFileCase> {};

TEST_P(UrlFiles, NameTheFileTheEngineAsksFor) {
  const UrlFileCase& c = GetParam();
  const std::optional<std::u16string> file = core::FilePathFromUrl(c.style, c.host, c.encodedPath);
  ASSERT_EQ(file.has_value(), c.file.has_value());
  if (file) {
    EXPECT_EQ(*file, *c.file);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UrlFiles,
    testing::Values(
        UrlFileCase{PathStyle::Posix, "", "/site/a%20b%231.html", u"/site/a b#1.html"},
        UrlFileCase{PathStyle::Posix, "", "/site/%2541.html", u"/site/%41.html"},
        UrlFileCase{PathStyle::Posix, "", "/site/caf%E9.html", u"/site/caf\xDCE9.html"},
        UrlFileCase{PathStyle::Posix, "", "/site/%E6%97%A5.html", u"/site/日.html"},
        UrlFileCase{PathStyle::Posix, "", "/site/100%.html", u"/site/100%.html"},
        UrlFileCase{PathStyle::Posix, "localhost", "/etc/x.css", u"/etc/x.css"},
        UrlFileCase{PathStyle::Posix, "server", "/share/x.css", std::nullopt},
        UrlFileCase{PathStyle::Posix, "", "/site/a%00.html", std::nullopt},
        UrlFileCase{PathStyle::Posix, "", "site/a.html", std::nullopt},
        UrlFileCase{PathStyle::Windows, "", "/C:/site/a%20b.html", u"C:\\site\\a b.html"},
        UrlFileCase{PathStyle::Windows, "", "/d:/a.htm", u"d:\\a.htm"},
        UrlFileCase{PathStyle::Windows, "server", "/share/a.html", u"\\\\server\\share\\a.html"},
        UrlFileCase{PathStyle::Windows, "", "/site/a.html", u"\\site\\a.html"},
        UrlFileCase{PathStyle::Windows, "", "/C:/%ED%A0%80.html", u"C:\\\xD800.html"},
        UrlFileCase{PathStyle::Windows, "", "/C:/caf%E9.html", std::nullopt},
        UrlFileCase{PathStyle::Windows, "", "/C:/%ED%A0%80%ED%B0%80.html", std::nullopt},
        UrlFileCase{PathStyle::Windows, "server", "/share/a%00.html", std::nullopt},
        UrlFileCase{PathStyle::Windows, "ser%00ver", "/share/a.html", std::nullopt},
        UrlFileCase{PathStyle::Windows, std::string_view("ser\0ver", 7), "/share/a.html",
                    std::nullopt},
        UrlFileCase{PathStyle::Posix, std::string_view("local\0host", 10), "/a.html",
                    std::nullopt}));

}  // namespace
