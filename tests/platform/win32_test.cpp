// The Windows platform layer on real Win32 calls. These run under Wine here; where Wine differs
// from Windows, the test says what it assumes.
#include <windows.h>
// After windows.h.
#include <io.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/error_texts.h"
#include "core/failure.h"
#include "core/paths.h"
#include "platform/platform.h"
#include "support/NameLists.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::u16string>;

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// A folder of the test's own in the temporary folder; its path is kept short so that long paths
// can be built inside it.
class WinFolder {
 public:
  WinFolder() {
    static int serial = 0;
    path_ = fs::temp_directory_path() /
            ("vl" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(serial++));
    fs::create_directories(path_);
  }
  ~WinFolder() {
    std::error_code ignored;
    fs::remove_all(fs::path(u"\\\\?\\" + path_.u16string()), ignored);
  }
  std::u16string Text() const { return path_.u16string(); }
  std::u16string Touch(const std::u16string& name) const {
    const std::u16string path = core::JoinPath(core::PathStyle::Windows, Text(), name);
    std::ofstream(fs::path(path)) << "<title>" << fs::path(name).string() << "</title>";
    return path;
  }

 private:
  fs::path path_;
};

std::u16string FailureMessage(std::u16string_view folder) {
  try {
    core::ValidateFolder(platform::FileSystem(), folder);
    return {};
  } catch (const core::Failure& failure) {
    return failure.Message();
  }
}

Names List(std::u16string_view folder) {
  return AllNames(core::ListHtmlFiles(platform::FileSystem(), folder));
}

// A folder inside `base` whose full path has exactly `length` characters, in parts of at most
// 100 characters (file systems under Wine limit one name to 255 bytes).
std::u16string FolderOfLength(const std::u16string& base, std::size_t length) {
  std::u16string path = base;
  while (path.size() < length) {
    const std::size_t part = std::min<std::size_t>(100, length - path.size() - 1);
    path.append(u"\\").append(part == 0 ? 1 : part, u'a');
  }
  return path.substr(0, length);
}

// Creates every folder along `path`.
void CreateFolders(const std::u16string& path) { fs::create_directories(fs::path(path)); }

TEST(Win32Checks, RelativeFolderIsExpandedAgainstTheCurrentFolder) {
  WinFolder folder;
  fs::create_directory(fs::path(folder.Text() + u"\\docs"));
  std::ofstream(fs::path(folder.Text() + u"\\docs\\p.html")) << "p";
  const fs::path previous = fs::current_path();
  fs::current_path(fs::path(folder.Text()));
  const Names names = List(u"docs");
  const std::u16string missing = FailureMessage(u"nothing-here");
  fs::current_path(previous);
  EXPECT_EQ(names, Names{u"p.html"});
  EXPECT_EQ(missing, core::kPathNotFound);
}

TEST(Win32Checks, FullPathOf248CharactersIsTooLongAnd247IsNot) {
  WinFolder folder;
  const std::u16string ok = FolderOfLength(folder.Text(), 247);
  CreateFolders(ok);
  EXPECT_EQ(FailureMessage(ok), u"");
  EXPECT_EQ(FailureMessage(FolderOfLength(folder.Text(), 248)), core::kPathTooLong);
}

TEST(Win32Checks, ExtendedLengthPrefixIsExemptFromTheLengthCheck) {
  WinFolder folder;
  const std::u16string deep = u"\\\\?\\" + FolderOfLength(folder.Text(), 300);
  CreateFolders(deep);
  std::ofstream(fs::path(deep + u"\\a.html")) << "a";
  EXPECT_EQ(List(deep), Names{u"a.html"});
}

TEST(Win32Checks, ColonOnlyAfterTheDriveLetter) {
  WinFolder folder;
  EXPECT_EQ(FailureMessage(folder.Text() + u"\\a:b"), core::kPathFormatNotSupported);
  EXPECT_EQ(FailureMessage(u"C:\\"), u"");
  EXPECT_EQ(FailureMessage(u"\\\\?\\C:\\"), u"");
}

TEST(Win32Checks, MissingFolderAndPathNamingAFileAreNotFound) {
  WinFolder folder;
  const std::u16string file = folder.Touch(u"a.html");
  EXPECT_EQ(FailureMessage(folder.Text() + u"\\missing"), core::kPathNotFound);
  EXPECT_EQ(FailureMessage(folder.Text() + u"\\missing\\deeper"), core::kPathNotFound);
  EXPECT_EQ(FailureMessage(file), core::kPathNotFound);
}

// Check 1 reports the platform's own text for an error code that the path's expansion leaves.
// Windows leaves one for a path of 40,000 characters and words its texts differently from Wine.
// Wine's GetFullPathNameW leaves no error code for any path tried (empty, blanks, 40,000
// characters), so under Wine that path goes on to the length check instead.
TEST(Win32Checks, ExpansionErrorGivesThePlatformsOwnText) {
  const std::u16string tooLongForAnyPath(40000, u'a');
  std::wstring full(70000, L'\0');
  SetLastError(ERROR_SUCCESS);
  GetFullPathNameW(Wide(tooLongForAnyPath).c_str(), static_cast<DWORD>(full.size()), full.data(),
                   nullptr);
  const DWORD code = GetLastError();
  if (code == ERROR_SUCCESS || code == ERROR_FILE_NOT_FOUND) {
    EXPECT_EQ(FailureMessage(tooLongForAnyPath), core::kPathTooLong);
    return;
  }
  wchar_t text[512] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                 512, nullptr);
  const std::u16string expected =
      core::TrimPlatformMessage(std::u16string(reinterpret_cast<const char16_t*>(text)));
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(FailureMessage(tooLongForAnyPath), expected);
}

// Wine expands an empty path to an empty one without an error code, so the check for invalid
// characters rejects it (Windows may report check 1 instead: either is the platform's affair).
TEST(Win32Checks, EmptyFolderIsRejected) {
  SetLastError(ERROR_SUCCESS);
  wchar_t full[8];
  GetFullPathNameW(L"", 8, full, nullptr);
  if (GetLastError() == ERROR_SUCCESS) {
    EXPECT_EQ(FailureMessage(u""), core::kInvalidPathCharacters);
  } else {
    EXPECT_NE(FailureMessage(u""), u"");
  }
}

TEST(Win32Listing, ListsHiddenAndSystemFilesAndSkipsTheRest) {
  WinFolder folder;
  for (const char16_t* name : {u"a.html", u"b.HTM", u"c.htm.bak", u"d.xhtml", u"f.txt"}) {
    folder.Touch(name);
  }
  const std::u16string hidden = folder.Touch(u"secret.html");
  SetFileAttributesW(Wide(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  fs::create_directory(fs::path(folder.Text() + u"\\e.html"));
  EXPECT_EQ(List(folder.Text()), (Names{u"a.html", u"b.HTM", u"secret.html"}));
  EXPECT_EQ(List(folder.Text() + u"\\"), (Names{u"a.html", u"b.HTM", u"secret.html"}));
}

// Pipes are refused by their attributes; Wine reports the pipe namespace like Windows does.
TEST(Win32PageFiles, OnlyRegularFilesOpen) {
  WinFolder folder;
  const std::u16string page = folder.Touch(u"page.html");
  fs::create_directory(fs::path(folder.Text() + u"\\dir.html"));
  const platform::OpenedFile opened = platform::OpenRegularFile(page);
  ASSERT_EQ(opened.result, platform::FileOpening::Opened);
  char buffer[8] = {};
  EXPECT_EQ(_read(opened.descriptor, buffer, 7), 7);
  EXPECT_EQ(std::string(buffer), "<title>");
  _close(opened.descriptor);
  EXPECT_TRUE(platform::IsRegularFile(page));

  using platform::FileOpening;
  const std::vector<std::pair<std::u16string, FileOpening>> refused = {
      {folder.Text() + u"\\dir.html", FileOpening::Folder},
      {folder.Text() + u"\\missing.html", FileOpening::Missing},
      {u"\\\\.\\pipe\\vellumine-none.html", FileOpening::Missing},
  };
  for (const auto& [path, expected] : refused) {
    const platform::OpenedFile file = platform::OpenRegularFile(path);
    EXPECT_EQ(file.result, expected);
    EXPECT_EQ(file.descriptor, -1);
    EXPECT_FALSE(platform::IsRegularFile(path));
  }
}

// The final path of a file or folder is its own full path, in the usual form.
TEST(Win32PageFiles, FinalPathIsTheUsualFullPath) {
  WinFolder folder;
  const std::u16string page = folder.Touch(u"page.html");
  EXPECT_EQ(platform::FinalPath(page), platform::FinalPath(folder.Text()).value() + u"\\page.html");
  EXPECT_FALSE(platform::FinalPath(page)->starts_with(u"\\\\?"));
  EXPECT_EQ(platform::FinalPath(folder.Text() + u"\\missing.html"), std::nullopt);
}

// Writes `content` to a file whose name may hold any UTF-16 code units.
void WriteWide(const std::u16string& path, std::string_view content) {
  const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
}

std::string ReadAll(const platform::OpenedFile& opened) {
  std::string content(64, '\0');
  const int length =
      _read(opened.descriptor, content.data(), static_cast<unsigned>(content.size()));
  _close(opened.descriptor);
  content.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return content;
}

// Each listed name goes to the engine and back to its own file. Windows keeps unpaired surrogates
// in names too, but Wine stores names as UTF-8 on the host and cannot hold them (it refuses to
// create them); the core tables cover those names' URLs.
TEST(Win32PageFiles, EveryListedNameLeadsBackToItsOwnFile) {
  WinFolder folder;
  const std::u16string names[] = {u"\xFFFD.html", u"\xE9.html", u"日本\U0001F600.html",
                                  u"a b#1%41.html", u"q;x.html"};
  for (std::size_t i = 0; i < std::size(names); ++i) {
    WriteWide(core::JoinPath(core::PathStyle::Windows, folder.Text(), names[i]),
              "page " + std::to_string(i));
  }
  const Names listed = List(folder.Text());
  ASSERT_EQ(listed.size(), std::size(names));
  for (std::size_t i = 0; i < std::size(names); ++i) {
    SCOPED_TRACE(i);
    const std::u16string path =
        core::FullFilePath(platform::FileSystem(),
                           core::SelectedFilePath(platform::kPathStyle, folder.Text(), names[i]));
    const std::string url = core::EngineUrlFromPath(platform::kPathStyle, path);
    const std::string_view rest = std::string_view(url).substr(url.find("://") + 3);
    const std::optional<std::u16string> file = core::FilePathFromUrl(
        platform::kPathStyle, rest.substr(0, rest.find('/')), rest.substr(rest.find('/')));
    ASSERT_EQ(file, path);
    const platform::OpenedFile opened = platform::OpenRegularFile(*file);
    ASSERT_EQ(opened.result, platform::FileOpening::Opened);
    EXPECT_EQ(ReadAll(opened), "page " + std::to_string(i));
  }
}

TEST(Win32Listing, NamesAreSortedByTheNameOrder) {
  WinFolder folder;
  for (const char16_t* name :
       {u"Zeta.html", u"alpha.html", u"_x.html", u"Beta.htm", u"日本.html"}) {
    folder.Touch(name);
  }
  EXPECT_EQ(List(folder.Text()),
            (Names{u"alpha.html", u"Beta.htm", u"Zeta.html", u"_x.html", u"日本.html"}));
}

std::u16string Sibling(const char16_t* name) {
  return std::u16string(core::FolderPart(core::PathStyle::Windows, platform::ExecutablePath())) +
         name;
}

// Starts first_argument.exe with `arguments` after its quoted path and returns what it printed.
std::string FirstArgumentOf(const std::u16string& arguments) {
  const std::u16string program = Sibling(u"first_argument.exe");
  std::wstring commandLine = L"\"" + Wide(program) + L"\" " + Wide(arguments);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return "<pipe failed>";
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(Wide(program).c_str(), commandLine.data(), nullptr, nullptr,
                                      TRUE, 0, nullptr, nullptr, &startup, &process);
  CloseHandle(writeEnd);
  std::string output;
  char buffer[256];
  DWORD got = 0;
  while (started && ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    output.append(buffer, got);
  }
  CloseHandle(readEnd);
  if (!started) return "<not started>";
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return output;
}

struct CommandLineCase {
  std::u16string_view arguments;
  std::string_view firstArgument;
};

class Win32CommandLine : public testing::TestWithParam<CommandLineCase> {};

TEST_P(Win32CommandLine, ChildProcessFindsItsFirstArgument) {
  EXPECT_EQ(FirstArgumentOf(std::u16string(GetParam().arguments)), GetParam().firstArgument);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Win32CommandLine,
    testing::Values(CommandLineCase{u"\"C:\\My Pages\\\"", "C:\\My Pages\\"},
                    CommandLineCase{u"\"\"", "<none>"}, CommandLineCase{u"", "<none>"},
                    CommandLineCase{u"C:\\a C:\\b", "C:\\a"},
                    CommandLineCase{u"\"\" C:\\site\\index.html", "C:\\site\\index.html"},
                    CommandLineCase{u"\"E:\\\"", "E:\\"},
                    CommandLineCase{u"C:\\日本\\p.html", "C:\\日本\\p.html"},
                    CommandLineCase{u"-reverse -style fusion C:\\site", "C:\\site"},
                    CommandLineCase{u"--platform windows \"C:\\My Pages\\\"", "C:\\My Pages\\"},
                    CommandLineCase{u"-- -reverse", "-reverse"},
                    CommandLineCase{u"-reverse --help", "<help>"},
                    CommandLineCase{u"-- --help", "--help"},
                    CommandLineCase{u"--version C:\\site", "<version>"}));

TEST(Win32Process, ReadsEnvironmentVariablesSetEmptyAndUnset) {
  const std::u16string longValue(300, u'v');
  SetEnvironmentVariableW(L"VELLUMINE_PROBE", Wide(longValue).c_str());
  EXPECT_EQ(platform::EnvironmentVariable(u"VELLUMINE_PROBE"), longValue);
  SetEnvironmentVariableW(L"VELLUMINE_PROBE", L"");
  EXPECT_EQ(platform::EnvironmentVariable(u"VELLUMINE_PROBE"), u"");
  SetEnvironmentVariableW(L"VELLUMINE_PROBE", nullptr);
  EXPECT_EQ(platform::EnvironmentVariable(u"VELLUMINE_PROBE"), std::nullopt);
}

TEST(Win32Process, HandsQtItsArgumentsInTheAnsiCodePage) {
  EXPECT_EQ(platform::ToolkitArgument(u"-style"), "-style");
  EXPECT_EQ(platform::ToolkitArgument(u""), "");
}

TEST(Win32Process, KnowsItsExecutableAndHelpPage) {
  const std::u16string executable = platform::ExecutablePath();
  EXPECT_EQ(core::FileNamePart(core::PathStyle::Windows, executable), u"win32_tests.exe");
  const std::u16string folder(core::FolderPart(core::PathStyle::Windows, executable));
  EXPECT_EQ(core::HelpPagePath(core::PathStyle::Windows, executable),
            folder.substr(0, folder.size() - 1) + u"\\help.html");
  const std::uintptr_t offset =
      platform::OffsetInExecutable(reinterpret_cast<const void*>(&FirstArgumentOf));
  EXPECT_GT(offset, 0u);
  EXPECT_EQ(platform::OffsetInExecutable(nullptr), 0u);
}

}  // namespace
