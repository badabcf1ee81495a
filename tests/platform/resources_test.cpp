// The program's Windows resources, read back from an executable that carries them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/paths.h"
#include "platform/platform.h"
#include "vellumine_version.h"

namespace {

std::wstring ProbePath() {
  const std::u16string folder(
      core::FolderPart(core::PathStyle::Windows, platform::ExecutablePath()));
  const std::u16string path = folder + u"resource_probe.exe";
  return std::wstring(path.begin(), path.end());
}

class VersionRecord : public testing::Test {
 protected:
  void SetUp() override {
    const DWORD size = GetFileVersionInfoSizeW(ProbePath().c_str(), nullptr);
    ASSERT_GT(size, 0u);
    data_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoW(ProbePath().c_str(), 0, size, data_.data()));
  }

  // The value at a version-record path, or nothing when the record does not hold it.
  bool Query(const wchar_t* key, void** value, UINT* length) {
    return VerQueryValueW(data_.data(), key, value, length) && *length > 0;
  }

  std::wstring String(const wchar_t* key) {
    void* value = nullptr;
    UINT length = 0;
    if (!Query(key, &value, &length)) return L"<absent>";
    return std::wstring(static_cast<const wchar_t*>(value));
  }

  std::vector<char> data_;
};

// The project's version, 1.1.0 as 1.1.0.0, in both fields.
TEST_F(VersionRecord, HoldsTheProjectVersionInBothFields) {
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(Query(L"\\", &value, &length));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  constexpr DWORD kHigh = (VELLUMINE_VERSION_MAJOR << 16) | VELLUMINE_VERSION_MINOR;
  constexpr DWORD kLow = VELLUMINE_VERSION_PATCH << 16;
  EXPECT_EQ(fixed->dwFileVersionMS, kHigh);
  EXPECT_EQ(fixed->dwFileVersionLS, kLow);
  EXPECT_EQ(fixed->dwProductVersionMS, kHigh);
  EXPECT_EQ(fixed->dwProductVersionLS, kLow);
}

TEST_F(VersionRecord, HasOnlyTheTwoVersionStringsInUsEnglish) {
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(Query(L"\\VarFileInfo\\Translation", &value, &length));
  const auto* translation = static_cast<const WORD*>(value);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1200);
  const std::string record = VELLUMINE_VERSION_RECORD_TEXT;
  const std::wstring expected(record.begin(), record.end());
  EXPECT_EQ(String(L"\\StringFileInfo\\040904B0\\FileVersion"), expected);
  EXPECT_EQ(String(L"\\StringFileInfo\\040904B0\\ProductVersion"), expected);
  for (const wchar_t* other : {L"CompanyName", L"FileDescription", L"ProductName",
                               L"LegalCopyright", L"OriginalFilename", L"InternalName"}) {
    EXPECT_EQ(String((std::wstring(L"\\StringFileInfo\\040904B0\\") + other).c_str()), L"<absent>");
  }
}

TEST(Manifest, AsksForCommonControlsSixAndTheInvokersRights) {
  const HMODULE probe = LoadLibraryExW(ProbePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(probe, nullptr);
  const HRSRC found = FindResourceW(probe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(found, nullptr);
  const auto* bytes = static_cast<const char*>(LockResource(LoadResource(probe, found)));
  const std::string manifest(bytes, SizeofResource(probe, found));
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_NE(manifest.find("name=\"Vellumine\" version=\"" VELLUMINE_VERSION_RECORD_TEXT "\""),
            std::string::npos);
  EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
  EXPECT_EQ(manifest.find("dpiAwareness"), std::string::npos);
  FreeLibrary(probe);
}

TEST(Icon, HasSixteenToTwoHundredFiftySixPixelImagesInThirtyTwoBitColour) {
  const HMODULE probe = LoadLibraryExW(ProbePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(probe, nullptr);
  std::vector<int> sizes;
  EnumResourceNamesW(
      probe, MAKEINTRESOURCEW(14),  // RT_GROUP_ICON
      [](HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR found) -> BOOL {
        const HRSRC group = FindResourceW(module, name, type);
        const auto* header = static_cast<const WORD*>(LockResource(LoadResource(module, group)));
        const WORD count = header[2];
        // Each GRPICONDIRENTRY: width, height, colours, reserved (bytes), planes, bit count
        // (words), bytes in resource (dword), id (word): 14 bytes after the 6-byte header.
        const auto* entry = reinterpret_cast<const BYTE*>(header) + 6;
        for (WORD i = 0; i < count; ++i, entry += 14) {
          const int width = entry[0] == 0 ? 256 : entry[0];
          const WORD bits = *reinterpret_cast<const WORD*>(entry + 6);
          if (bits == 32) reinterpret_cast<std::vector<int>*>(found)->push_back(width);
        }
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&sizes));
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 256}));
  FreeLibrary(probe);
}

}  // namespace
