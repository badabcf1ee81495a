#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "core/encoding.h"
#include "core/error_texts.h"
#include "core/failure.h"
#include "platform/platform.h"
#include "support/NameLists.h"
#include "support/TemporaryFolder.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::u16string>;

std::u16string FailureMessage(const std::function<void()>& action) {
  try {
    action();
    return {};
  } catch (const core::Failure& failure) {
    return failure.Message();
  }
}

Names List(const std::u16string& folder) {
  return AllNames(core::ListHtmlFiles(platform::FileSystem(), folder));
}

TEST(PosixListing, ListsHtmlFilesIncludingHiddenOnesAndSkipsTheRest) {
  TemporaryFolder folder;
  for (const char* name : {"a.html", "b.HTM", "c.htm.bak", "d.xhtml", "f.txt", ".secret.html"}) {
    folder.Page(name);
  }
  fs::create_directory(folder.Path() / "e.html");
  fs::create_directory_symlink(folder.Path() / "e.html", folder.Path() / "dirlink.html");
  fs::create_symlink(folder.Path() / "a.html", folder.Path() / "filelink.html");
  fs::create_symlink(folder.Path() / "gone", folder.Path() / "dangling.html");
  EXPECT_EQ(List(folder.Text()),
            (Names{u".secret.html", u"a.html", u"b.HTM", u"dangling.html", u"filelink.html"}));
}

TEST(PosixListing, NameThatIsNotUtf8IsListedAndJoinsBackToTheSameBytes) {
  TemporaryFolder folder;
  const fs::path file = folder.Page("caf\xE9.html");
  const Names names = List(folder.Text());
  ASSERT_EQ(names, Names{u"caf\xDCE9.html"});
  const std::u16string path =
      core::SelectedFilePath(platform::kPathStyle, folder.Text(), names.front());
  EXPECT_EQ(core::EncodeLossless(path), file.string());
}

// As UTF-16 code units: U+00E9, an escaped byte (U+DCE9) after the surrogate pair of U+1F600,
// U+E000 last; the names' UTF-8 bytes would order them otherwise.
TEST(PosixListing, NamesStandInTheOrderOfTheirUtf16CodeUnits) {
  TemporaryFolder folder;
  for (const char* name : {"\xEE\x80\x80.html", "\xE9.html", "\xF0\x9F\x98\x80.html",
                           "\xC3\xA9.html", "Z.html", "_.html", "a.HTML"}) {
    folder.Page(name);
  }
  EXPECT_EQ(List(folder.Text()), (Names{u"a.HTML", u"Z.html", u"_.html", u"\u00E9.html",
                                        u"\U0001F600.html", u"\xDCE9.html", u"\uE000.html"}));
}

TEST(PosixListing, RelativeFolderResolvesAgainstTheCurrentFolder) {
  TemporaryFolder folder;
  fs::create_directory(folder.Path() / "docs");
  std::ofstream(folder.Path() / "docs" / "p.html") << "p";
  const fs::path previous = fs::current_path();
  fs::current_path(folder.Path());
  const Names names = List(u"docs");
  const std::u16string missing = FailureMessage([] { List(u"nothing-here"); });
  fs::current_path(previous);
  EXPECT_EQ(names, Names{u"p.html"});
  EXPECT_EQ(missing, core::kPathNotFound);
}

struct LinkedFolderCase {
  const char* label;
  bool relative;   // the folder named from the temporary folder as the current folder
  bool withDecoy;  // a same-named folder "pages" beside the link, with a page of the same name
};

class LinkedFolders : public testing::TestWithParam<LinkedFolderCase> {};

// "lnk" leads to real/deep, so the kernel reads "lnk/../pages" as real/pages: the listing and the
// pages' full paths both name that folder, whatever lies beside the link.
TEST_P(LinkedFolders, ListAndShowTheFolderTheKernelFinds) {
  TemporaryFolder folder;
  fs::create_directories(folder.Path() / "real/deep");
  fs::create_directories(folder.Path() / "real/pages");
  std::ofstream(folder.Path() / "real/pages/a.html") << "real";
  std::ofstream(folder.Path() / "real/pages/b.html") << "real";
  fs::create_directory_symlink("real/deep", folder.Path() / "lnk");
  if (GetParam().withDecoy) {
    fs::create_directory(folder.Path() / "pages");
    std::ofstream(folder.Path() / "pages/a.html") << "decoy";
  }
  const fs::path previous = fs::current_path();
  fs::current_path(folder.Path());
  const std::u16string linked =
      GetParam().relative ? u"lnk/../pages" : folder.Text() + u"/lnk/../pages";
  const Names names = List(linked);
  const std::u16string shown = core::FullFilePath(
      platform::FileSystem(), core::SelectedFilePath(platform::kPathStyle, linked, u"a.html"));
  fs::current_path(previous);
  EXPECT_EQ(names, (Names{u"a.html", u"b.html"}));
  EXPECT_EQ(fs::path(core::EncodeLossless(shown)), folder.Path() / "real/pages/a.html");
}

INSTANTIATE_TEST_SUITE_P(Cases, LinkedFolders,
                         testing::Values(LinkedFolderCase{"Absolute", false, true},
                                         LinkedFolderCase{"Relative", true, true},
                                         LinkedFolderCase{"RelativeWithoutDecoy", true, false}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(PosixListing, RelativeFolderInACurrentFolderThatIsGoneIsNotFound) {
  TemporaryFolder folder;
  const fs::path previous = fs::current_path();
  const fs::path gone = folder.Path() / "gone";
  fs::create_directory(gone);
  fs::current_path(gone);
  fs::remove(gone);
  const std::u16string relative = FailureMessage([] { List(u"docs"); });
  const Names absolute = List(folder.Text());
  fs::current_path(previous);
  EXPECT_EQ(relative, core::kPathNotFound);
  EXPECT_TRUE(absolute.empty());
}

TEST(PosixListing, FolderThatIsNotThereFailsWithPathNotFound) {
  TemporaryFolder folder;
  const fs::path file = folder.Page("a.html");
  for (const fs::path& path :
       {folder.Path() / "missing", file, file / "sub", folder.Path() / "missing" / "sub"}) {
    EXPECT_EQ(FailureMessage([&] { List(core::DecodeLossless(path.string())); }),
              core::kPathNotFound)
        << path;
  }
}

TEST(PosixListing, FullPathReachingPathMaxIsTooLong) {
  const std::u16string longest = u"/" + std::u16string(PATH_MAX - 2, u'a');
  EXPECT_EQ(FailureMessage([&] { List(longest); }), core::kPathNotFound);
  EXPECT_EQ(FailureMessage([&] { List(longest + u"a"); }), core::kPathTooLong);
}

TEST(PosixListing, EmptyFolderPathIsRejected) {
  EXPECT_EQ(FailureMessage([] { List(u""); }), core::kInvalidPathCharacters);
}

// Runs `check` as an ordinary user when the tests run as root, since root may read anything.
std::string RunUnprivileged(const std::function<std::string()>& check) {
  if (geteuid() != 0) return check();
  int channel[2];
  if (pipe(channel) != 0) return "pipe failed";
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    const bool dropped = setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
    const std::string result = dropped ? check() : "could not drop privileges";
    const ssize_t written = write(channel[1], result.data(), result.size());
    _exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
  }
  close(channel[1]);
  std::string result;
  char buffer[256];
  for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
    result.append(buffer, static_cast<std::size_t>(got));
  close(channel[0]);
  waitpid(child, nullptr, 0);
  return result;
}

TEST(PosixListing, FolderThatCannotBeReadListsNothingWithoutFailing) {
  TemporaryFolder folder;
  fs::create_directory(folder.Path() / "locked");
  std::ofstream(folder.Path() / "locked" / "a.html") << "a";
  fs::create_directory(folder.Path() / "sealed");
  fs::create_directory(folder.Path() / "sealed" / "inner");
  fs::permissions(folder.Path() / "locked", fs::perms::owner_write | fs::perms::owner_exec |
                                                fs::perms::others_exec | fs::perms::group_exec);
  fs::permissions(folder.Path() / "sealed", fs::perms::none);

  const std::string outcome = RunUnprivileged([&] {
    std::string result;
    for (const char* name : {"locked", "sealed/inner"}) {
      const std::u16string path = core::DecodeLossless((folder.Path() / name).string());
      const std::u16string message =
          FailureMessage([&] { result += std::to_string(List(path).size()) + " entries;"; });
      result += core::EncodeLossless(message);
    }
    return result;
  });
  EXPECT_EQ(outcome, "0 entries;0 entries;");
}

std::u16string Path(const TemporaryFolder& folder, const char* name) {
  return core::DecodeLossless((folder.Path() / name).string());
}

platform::FileOpening Opening(const std::u16string& path) {
  const platform::OpenedFile file = platform::OpenRegularFile(path);
  EXPECT_EQ(file.descriptor >= 0, file.result == platform::FileOpening::Opened);
  if (file.descriptor >= 0) close(file.descriptor);
  return file.result;
}

// Every kind of entry a folder may hold under an HTML name; only regular files open, and nothing
// waits (a FIFO without a writer would block an ordinary open for good).
TEST(PosixPageFiles, OnlyRegularFilesOpenAndNothingBlocks) {
  TemporaryFolder folder;
  folder.Page("page.html");
  ASSERT_EQ(mkfifo((folder.Path() / "fifo.html").c_str(), 0644), 0);
  fs::create_directory(folder.Path() / "dir.html");
  fs::create_symlink(folder.Path() / "page.html", folder.Path() / "link.html");
  fs::create_symlink(folder.Path() / "fifo.html", folder.Path() / "fifolink.html");
  fs::create_symlink(folder.Path() / "gone", folder.Path() / "dangling.html");
  fs::create_symlink("/dev/zero", folder.Path() / "device.html");

  using platform::FileOpening;
  const std::vector<std::pair<const char*, FileOpening>> cases = {
      {"page.html", FileOpening::Opened},        {"link.html", FileOpening::Opened},
      {"fifo.html", FileOpening::NotRegular},    {"fifolink.html", FileOpening::NotRegular},
      {"dir.html", FileOpening::Folder},         {"device.html", FileOpening::NotRegular},
      {"dangling.html", FileOpening::Missing},   {"missing.html", FileOpening::Missing},
      {"page.html/inner", FileOpening::Missing},
  };
  for (const auto& [name, expected] : cases) {
    const std::u16string path = Path(folder, name);
    EXPECT_EQ(Opening(path), expected) << name;
    EXPECT_EQ(platform::IsRegularFile(path), expected == FileOpening::Opened) << name;
  }
  EXPECT_EQ(Opening(Path(folder, "page.html") + u'\0'), FileOpening::Missing);
}

// A link is followed to the file it leads to, through linked folders and "..", whatever its name.
TEST(PosixPageFiles, FinalPathIsTheFileALinkLeadsTo) {
  TemporaryFolder folder;
  const fs::path real = fs::canonical(folder.Path());
  std::ofstream(folder.Path() / "app.env") << "A=1";
  fs::create_directory(folder.Path() / "site");
  fs::create_symlink("../app.env", folder.Path() / "site/cfg.js");
  fs::create_directory_symlink(folder.Path() / "site", folder.Path() / "linked");
  EXPECT_EQ(platform::FinalPath(Path(folder, "linked/cfg.js")),
            core::DecodeLossless((real / "app.env").string()));
  EXPECT_EQ(platform::FinalPath(Path(folder, "site/../app.env")),
            core::DecodeLossless((real / "app.env").string()));
  EXPECT_EQ(platform::FinalPath(Path(folder, "site/missing.js")), std::nullopt);
}

TEST(PosixPageFiles, OpenedFileReadsItsContent) {
  TemporaryFolder folder;
  std::ofstream(folder.Path() / "caf\xE9.html") << "content";
  const platform::OpenedFile file = platform::OpenRegularFile(Path(folder, "caf\xE9.html"));
  ASSERT_EQ(file.result, platform::FileOpening::Opened);
  char buffer[16] = {};
  EXPECT_EQ(read(file.descriptor, buffer, sizeof buffer), 7);
  EXPECT_STREQ(buffer, "content");
  close(file.descriptor);
}

TEST(PosixPageFiles, FileTheUserMayNotReadIsDenied) {
  TemporaryFolder folder;
  folder.Page("private.html");
  fs::permissions(folder.Path() / "private.html", fs::perms::owner_read);
  const std::u16string path = Path(folder, "private.html");
  const std::string outcome = RunUnprivileged([&] {
    return platform::OpenRegularFile(path).result == platform::FileOpening::Denied ? "denied"
                                                                                   : "other";
  });
  EXPECT_EQ(outcome, "denied");
}

TEST(PosixArguments, AreDecodedLosslesslyAndGoBackToQtAsTheSameBytes) {
  char program[] = "vellumine";
  char empty[] = "";
  char folder[] = "/tmp/caf\xE9";
  char second[] = "-reverse";
  char* argv[] = {program, empty, folder, second, nullptr};
  const Names arguments = platform::Arguments(4, argv);
  EXPECT_EQ(arguments, (Names{u"", u"/tmp/caf\xDCE9", u"-reverse"}));
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    EXPECT_EQ(platform::ToolkitArgument(arguments[i]), argv[i + 1]);
  }
  EXPECT_EQ(platform::ReadCommandLine(4, argv).arguments, Names{u"/tmp/caf\xDCE9"});
}

TEST(PosixProcess, ReadsEnvironmentVariablesSetEmptyAndUnset) {
  setenv("VELLUMINE_PROBE", "caf\xE9", 1);
  EXPECT_EQ(platform::EnvironmentVariable(u"VELLUMINE_PROBE"), u"caf\xDCE9");
  setenv("VELLUMINE_PROBE", "", 1);
  EXPECT_EQ(platform::EnvironmentVariable(u"VELLUMINE_PROBE"), u"");
  unsetenv("VELLUMINE_PROBE");
  EXPECT_EQ(platform::EnvironmentVariable(u"VELLUMINE_PROBE"), std::nullopt);
}

TEST(PosixProcess, KnowsItsExecutableAndCodeOffsets) {
  const std::u16string executable = platform::ExecutablePath();
  EXPECT_EQ(core::FileNamePart(platform::kPathStyle, executable), u"platform_tests");
  EXPECT_TRUE(fs::exists(core::EncodeLossless(executable)));
  const std::uintptr_t offset =
      platform::OffsetInExecutable(reinterpret_cast<const void*>(&RunUnprivileged));
  EXPECT_GT(offset, 0u);
  EXPECT_LT(offset, fs::file_size(core::EncodeLossless(executable)));
  EXPECT_EQ(platform::OffsetInExecutable(nullptr), 0u);
}

}  // namespace
