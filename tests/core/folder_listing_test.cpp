#include "core/folder_listing.h"

#include <gtest/gtest.h>

#include <map>

#include "core/encoding.h"
#include "core/error_texts.h"
#include "core/failure.h"
#include "support/NameLists.h"

namespace {

using core::DirectoryState;
using core::PathStyle;

// A file system that reports what a test tells it to: every path expands to itself unless an
// expansion is set for it or an expansion error is set, and every path is a directory unless listed
// otherwise.
class FakeFileSystem final : public core::FileSystem {
 public:
  explicit FakeFileSystem(PathStyle style) : style_(style) {}

  PathStyle Style() const override { return style_; }
  std::size_t PosixPathMax() const override { return 4096; }
  core::ExpandedPath Expand(std::u16string_view folder) const override {
    if (currentFolderGone) return {{}, expansionError, true};
    const auto expanded = expansions.find(std::u16string(folder));
    if (expanded != expansions.end()) return {expanded->second, expansionError};
    return {std::u16string(folder), expansionError};
  }
  DirectoryState Directory(std::u16string_view path) const override {
    const auto found = states.find(std::u16string(path));
    return found == states.end() ? DirectoryState::Present : found->second;
  }
  // POSIX names come as bytes, Windows names as UTF-16.
  void ReadFileNames(std::u16string_view, const core::MaskSet& masks,
                     core::NameList& names) const override {
    ++reads;
    for (const auto& entry : entries) {
      if (style_ == PathStyle::Windows) {
        if (masks.Accepts(entry)) names.Add(entry);
      } else {
        const std::string bytes = core::EncodeLossless(entry);
        if (masks.Accepts(bytes)) names.Add(bytes);
      }
    }
  }

  std::optional<std::u16string> expansionError;
  bool currentFolderGone = false;
  std::map<std::u16string, std::u16string> expansions;
  std::map<std::u16string, DirectoryState> states;
  std::vector<std::u16string> entries;
  mutable int reads = 0;

 private:
  PathStyle style_;
};

// The message of the first failed check, or empty when the folder passes them all.
std::u16string CheckMessage(const core::FileSystem& fileSystem, std::u16string_view folder) {
  try {
    core::ValidateFolder(fileSystem, folder);
    return {};
  } catch (const core::Failure& failure) {
    return failure.Message();
  }
}

std::u16string Repeated(char16_t unit, std::size_t count) { return std::u16string(count, unit); }

struct CheckCase {
  const char* label;
  PathStyle style;
  std::u16string fullPath;
  DirectoryState state;
  std::u16string_view message;  // empty: every check passes
};

class FolderChecks : public testing::TestWithParam<CheckCase> {};

TEST_P(FolderChecks, ReportTheFirstFailedCheck) {
  const CheckCase& c = GetParam();
  FakeFileSystem fileSystem(c.style);
  fileSystem.states[c.fullPath] = c.state;
  EXPECT_EQ(CheckMessage(fileSystem, c.fullPath), c.message);
}

constexpr auto Present = DirectoryState::Present;
constexpr auto Missing = DirectoryState::Missing;
constexpr auto Unexaminable = DirectoryState::Unexaminable;
constexpr auto Win = PathStyle::Windows;
constexpr auto Posix = PathStyle::Posix;

INSTANTIATE_TEST_SUITE_P(
    Windows, FolderChecks,
    testing::Values(
        CheckCase{"Folder", Win, u"C:\\site", Present, u""},
        CheckCase{"DriveRoot", Win, u"E:\\", Present, u""},
        CheckCase{"Length247", Win, u"C:\\" + Repeated(u'a', 244), Present, u""},
        CheckCase{"Length248", Win, u"C:\\" + Repeated(u'a', 245), Present, core::kPathTooLong},
        CheckCase{"ExtendedPrefixIsExempt", Win, u"\\\\?\\C:\\" + Repeated(u'a', 300), Present,
                  u""},
        CheckCase{"ExtendedUncIsExempt", Win, u"\\\\?\\UNC\\srv\\" + Repeated(u'a', 300), Present,
                  u""},
        CheckCase{"PrefixIsCaseSensitive", Win, u"\\\\?\\c:\\" + Repeated(u'a', 300), Present, u""},
        CheckCase{"LongBeforeColonCheck", Win, u"C:\\a:" + Repeated(u'a', 300), Present,
                  core::kPathTooLong},
        CheckCase{"ColonInName", Win, u"C:\\a:b", Present, core::kPathFormatNotSupported},
        CheckCase{"ColonAfterDigit", Win, u"1:\\a", Present, core::kPathFormatNotSupported},
        CheckCase{"ColonFirst", Win, u":\\a", Present, core::kPathFormatNotSupported},
        CheckCase{"ColonAfterPrefix", Win, u"\\\\?\\C:\\a", Present, u""},
        CheckCase{"SecondColonAfterPrefix", Win, u"\\\\?\\C:\\a:b", Present,
                  core::kPathFormatNotSupported},
        CheckCase{"ControlCharacter", Win,
                  u"C:\\a\x01"
                  u"b",
                  Present, core::kInvalidPathCharacters},
        CheckCase{"Quote", Win, u"C:\\a\"b", Present, core::kInvalidPathCharacters},
        CheckCase{"LessThan", Win, u"C:\\a<b", Present, core::kInvalidPathCharacters},
        CheckCase{"Pipe", Win, u"C:\\a|b", Present, core::kInvalidPathCharacters},
        CheckCase{"WildcardsPass", Win, u"C:\\a*?", Missing, core::kPathNotFound},
        CheckCase{"Empty", Win, u"", Present, core::kInvalidPathCharacters},
        CheckCase{"OnlyBlanks", Win, u" \t ", Present, core::kInvalidPathCharacters},
        CheckCase{"Missing", Win, u"C:\\missing", Missing, core::kPathNotFound},
        CheckCase{"AccessDeniedPasses", Win, u"C:\\secret", Unexaminable, u""}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Posix, FolderChecks,
    testing::Values(
        CheckCase{"Folder", Posix, u"/site", Present, u""},
        CheckCase{"Length4095", Posix, u"/" + Repeated(u'a', 4094), Present, u""},
        CheckCase{"Length4096", Posix, u"/" + Repeated(u'a', 4095), Present, core::kPathTooLong},
        CheckCase{"LengthCountsBytes", Posix, u"/" + Repeated(u'\u00E9', 2048), Present,
                  core::kPathTooLong},
        CheckCase{"ColonIsANameCharacter", Posix, u"/a:b", Present, u""},
        CheckCase{"ControlCharactersAreNameCharacters", Posix, u"/a\x01\"<|b", Present, u""},
        CheckCase{"Nul", Posix, std::u16string(u"/a\0b", 4), Present, core::kInvalidPathCharacters},
        CheckCase{"Empty", Posix, u"", Present, core::kInvalidPathCharacters},
        CheckCase{"Missing", Posix, u"/missing", Missing, core::kPathNotFound},
        CheckCase{"AccessDeniedPasses", Posix, u"/secret", Unexaminable, u""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(FolderChecks, ExpansionErrorGivesThePlatformTextTrimmed) {
  FakeFileSystem fileSystem(PathStyle::Windows);
  fileSystem.expansionError =
      u"The filename, directory name, or volume label syntax is incorrect.\r\n";
  EXPECT_EQ(CheckMessage(fileSystem, u"C:\\a"),
            u"The filename, directory name, or volume label syntax is incorrect");
}

TEST(FolderChecks, PathInACurrentFolderThatIsGoneIsNotFound) {
  FakeFileSystem fileSystem(PathStyle::Posix);
  fileSystem.currentFolderGone = true;
  EXPECT_EQ(CheckMessage(fileSystem, u"docs"), core::kPathNotFound);
  fileSystem.expansionError = u"Permission denied";
  EXPECT_EQ(CheckMessage(fileSystem, u"docs"), u"Permission denied");
}

class ListHtmlFilesOfStyle : public testing::TestWithParam<PathStyle> {};

TEST_P(ListHtmlFilesOfStyle, KeepsMatchingNamesInNameOrder) {
  FakeFileSystem fileSystem(GetParam());
  fileSystem.entries = {u"b.HTM",  u"c.htm.bak", u"Zeta.html",       u"d.xhtml",     u"f.txt",
                        u"a.html", u"_x.html",   u"\U0001F600.html", u"\uE000.html", u".html"};
  EXPECT_EQ(AllNames(core::ListHtmlFiles(fileSystem, u"/site")),
            (std::vector<std::u16string>{u".html", u"a.html", u"b.HTM", u"Zeta.html", u"_x.html",
                                         u"\U0001F600.html", u"\uE000.html"}));
}

INSTANTIATE_TEST_SUITE_P(BothStyles, ListHtmlFilesOfStyle, testing::Values(Win, Posix),
                         [](const auto& info) {
                           return std::string(info.param == Win ? "Windows" : "Posix");
                         });

TEST(ListHtmlFiles, ValidatesBeforeReadingTheFolder) {
  FakeFileSystem fileSystem(PathStyle::Windows);
  fileSystem.states[u"C:\\gone"] = DirectoryState::Missing;
  EXPECT_THROW(core::ListHtmlFiles(fileSystem, u"C:\\gone"), core::Failure);
  EXPECT_EQ(fileSystem.reads, 0);
}

TEST(OpensAsFolder, DirectoriesAndUnexaminablePathsOpenAsFolders) {
  FakeFileSystem fileSystem(PathStyle::Posix);
  fileSystem.states = {{u"/file.html", Missing}, {u"/secret", Unexaminable}};
  EXPECT_TRUE(core::OpensAsFolder(fileSystem, u"/site"));
  EXPECT_TRUE(core::OpensAsFolder(fileSystem, u"/secret"));
  EXPECT_FALSE(core::OpensAsFolder(fileSystem, u"/file.html"));
}

struct ArgumentCase {
  const char* name;
  PathStyle style;
  std::u16string_view argument;
  DirectoryState state;  // what the argument itself names
  std::u16string_view folder;
  std::optional<std::u16string_view> entryName;
};

class ArgumentFolders : public testing::TestWithParam<ArgumentCase> {};

TEST_P(ArgumentFolders, OpenTheFolderAndNameTheEntryToSelect) {
  const ArgumentCase& c = GetParam();
  FakeFileSystem fileSystem(c.style);
  fileSystem.states[std::u16string(c.argument)] = c.state;
  fileSystem.entries = {u"b.html", u"index.html", u"notes.txt"};
  const core::ArgumentFolder opened = core::ListArgumentFolder(fileSystem, c.argument);
  EXPECT_EQ(opened.folder, c.folder);
  EXPECT_EQ(opened.entryName, c.entryName);
  EXPECT_EQ(AllNames(opened.names), (std::vector<std::u16string>{u"b.html", u"index.html"}));
}

INSTANTIATE_TEST_SUITE_P(Table, ArgumentFolders,
                         testing::Values(ArgumentCase{"WindowsFolder", Win, u"C:\\site", Present,
                                                      u"C:\\site", std::nullopt},
                                         ArgumentCase{"UnexaminableFolder", Win, u"C:\\secret",
                                                      Unexaminable, u"C:\\secret", std::nullopt},
                                         ArgumentCase{"WindowsFile", Win, u"C:\\site\\index.html",
                                                      Missing, u"C:\\site\\", u"index.html"},
                                         ArgumentCase{"PosixFile", Posix, u"/site/INDEX.HTML",
                                                      Missing, u"/site/", u"INDEX.HTML"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ArgumentFolders, BareFileNameHasNoFolderToList) {
  FakeFileSystem fileSystem(PathStyle::Windows);
  fileSystem.states[u"page.html"] = DirectoryState::Missing;
  fileSystem.states[u""] = DirectoryState::Missing;
  EXPECT_THROW(core::ListArgumentFolder(fileSystem, u"page.html"), core::Failure);
  EXPECT_EQ(fileSystem.reads, 0);
}

// A POSIX tree for full paths: these links and files; every other path is a directory.
core::PosixEntry EntryInTree(const std::u16string& path) {
  using Kind = core::PosixEntry::Kind;
  static const std::map<std::u16string, std::u16string> links = {
      {u"/home/u/lnk", u"/real/deep"},
      {u"/home/u/rel", u"sub/x"},
      {u"/home/u/chain", u"lnk/.."},
      {u"/home/u/loop", u"loop"},
  };
  if (const auto link = links.find(path); link != links.end()) return {Kind::Link, link->second};
  if (path == u"/home/u/f.html" || path.starts_with(u"/home/u/gone")) return {Kind::Other, {}};
  return {Kind::Directory, {}};
}

struct FullPathCase {
  std::u16string_view current;
  std::u16string_view path;
  std::u16string_view full;
};

class PosixFullPaths : public testing::TestWithParam<FullPathCase> {};

TEST_P(PosixFullPaths, ResolveLinksBeforeParentsAsTheKernelDoes) {
  EXPECT_EQ(core::PosixFullPath(GetParam().current, GetParam().path, EntryInTree), GetParam().full);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PosixFullPaths,
    testing::Values(FullPathCase{u"/home/u", u"docs", u"/home/u/docs"},
                    FullPathCase{u"/home/u", u"/abs/", u"/abs"},
                    FullPathCase{u"/home/u", u"./a//b/../c", u"/home/u/a/c"},
                    FullPathCase{u"/", u"../..", u"/"}, FullPathCase{u"/home/u", u"", u""},
                    FullPathCase{u"/home/u", u"a\\b:c", u"/home/u/a\\b:c"},
                    FullPathCase{u"/home/u", u"lnk/../pages", u"/real/pages"},
                    FullPathCase{u"/", u"/home/u/lnk/../pages/", u"/real/pages"},
                    FullPathCase{u"/home/u", u"lnk", u"/real/deep"},
                    FullPathCase{u"/home/u", u"rel/../y", u"/home/u/sub/y"},
                    FullPathCase{u"/home/u", u"chain/../z", u"/z"},
                    FullPathCase{u"/home/u", u"f.html/../docs", u"/home/u/f.html/../docs"},
                    FullPathCase{u"/home/u", u"gone/../docs", u"/home/u/gone/../docs"},
                    FullPathCase{u"/home/u", u"loop/../docs", u"/home/u/loop/../docs"}));

struct FullFileCase {
  PathStyle style;
  std::u16string_view filePath;
  std::u16string_view expanded;  // what the file system expands the folder part to
  std::u16string_view full;
};

class FullFilePaths : public testing::TestWithParam<FullFileCase> {};

TEST_P(FullFilePaths, ExpandTheFolderAndKeepTheName) {
  const FullFileCase& c = GetParam();
  FakeFileSystem fileSystem(c.style);
  fileSystem.expansions[std::u16string(core::FolderPart(c.style, c.filePath))] = c.expanded;
  EXPECT_EQ(core::FullFilePath(fileSystem, c.filePath), c.full);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FullFilePaths,
    testing::Values(
        FullFileCase{Posix, u"lnk/../pages/a.html", u"/real/pages", u"/real/pages/a.html"},
        FullFileCase{Posix, u"/site/link.html", u"/site", u"/site/link.html"},
        FullFileCase{Posix, u"gone/a.html", u"", u""},
        FullFileCase{Win, u"docs\\p.html", u"C:\\work\\docs\\", u"C:\\work\\docs\\p.html"},
        FullFileCase{Win, u"\\\\server\\share\\p.html", u"\\\\server\\share\\",
                     u"\\\\server\\share\\p.html"}));

}  // namespace
