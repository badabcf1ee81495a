#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <memory>

#include "core/command_line.h"
#include "core/encoding.h"
#include "platform/platform.h"

namespace platform {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows strings are UTF-16");

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string FromWide(const wchar_t* text, std::size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

// The system's own text for an error code.
std::u16string ErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text = length ? FromWide(buffer, length) : std::u16string();
  LocalFree(buffer);
  return text;
}

// The errors for which a path that cannot be examined counts as missing; any other error (access
// denied, for one) lets the path pass as a directory.
bool CountsAsMissing(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
      return true;
    default:
      return false;
  }
}

// A link counts only when its target opens.
bool LinkTargetOpens(const std::u16string& path) {
  const HANDLE target =
      CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (target == INVALID_HANDLE_VALUE) return false;
  CloseHandle(target);
  return true;
}

// A file that is neither a directory nor a device by its attributes.
bool HasFileAttributes(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

class Win32FileSystem final : public core::FileSystem {
 public:
  core::PathStyle Style() const override { return core::PathStyle::Windows; }

  std::size_t PosixPathMax() const override { return 0; }

  core::ExpandedPath Expand(std::u16string_view folder) const override {
    const std::u16string path(folder);
    std::u16string full(MAX_PATH, u'\0');
    for (;;) {
      SetLastError(ERROR_SUCCESS);
      const DWORD length = GetFullPathNameW(Wide(path), static_cast<DWORD>(full.size()),
                                            reinterpret_cast<wchar_t*>(full.data()), nullptr);
      const DWORD error = GetLastError();
      if (length < full.size()) {
        full.resize(length);
        if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND)
          return {full, ErrorText(error)};
        return {full, {}};
      }
      full.resize(length);
    }
  }

  core::DirectoryState Directory(std::u16string_view path) const override {
    const std::u16string text(path);
    const DWORD attributes = GetFileAttributesW(Wide(text));
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      return CountsAsMissing(GetLastError()) ? core::DirectoryState::Missing
                                             : core::DirectoryState::Unexaminable;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !LinkTargetOpens(text)) {
      return core::DirectoryState::Missing;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? core::DirectoryState::Present
                                                   : core::DirectoryState::Missing;
  }

  void ReadFileNames(std::u16string_view folder, const core::MaskSet& masks,
                     core::NameList& names) const override {
    const std::u16string pattern = core::JoinPath(core::PathStyle::Windows, folder, u"*");
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(Wide(pattern), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      const std::u16string_view name(reinterpret_cast<const char16_t*>(entry.cFileName));
      if (masks.Accepts(name)) names.Add(name);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
};

// Text goes to a console as UTF-16 and to a file or pipe as UTF-8.
bool WriteTo(HANDLE output, std::u16string_view text) {
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(output, &mode)) {
    const std::u16string wide(text);
    return WriteConsoleW(output, Wide(wide), static_cast<DWORD>(wide.size()), &written, nullptr) &&
           written == wide.size();
  }
  const std::string bytes = core::EncodeLossless(text);
  return WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace

const core::FileSystem& FileSystem() {
  static const Win32FileSystem fileSystem;
  return fileSystem;
}

std::vector<std::u16string> Arguments(int, char**) {
  return core::SplitWindowsCommandLine(reinterpret_cast<const char16_t*>(GetCommandLineW()));
}

std::optional<std::u16string> EnvironmentVariable(std::u16string_view name) {
  const std::u16string key(name);
  std::u16string value(64, u'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetEnvironmentVariableW(
        Wide(key), reinterpret_cast<wchar_t*>(value.data()), static_cast<DWORD>(value.size()));
    if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    if (length < value.size()) return value.substr(0, length);
    value.resize(length);
  }
}

std::string ToolkitArgument(std::u16string_view argument) {
  const std::u16string text(argument);
  const int size = WideCharToMultiByte(CP_ACP, 0, Wide(text), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
  WideCharToMultiByte(CP_ACP, 0, Wide(text), -1, bytes.data(), size, nullptr, nullptr);
  bytes.resize(bytes.size() - 1);
  return bytes;
}

// A program started from a console without a redirection has no standard output of its own; it
// writes to that console.
bool WriteStandardOutput(std::u16string_view text) {
  const HANDLE inherited = GetStdHandle(STD_OUTPUT_HANDLE);
  if (inherited != nullptr && inherited != INVALID_HANDLE_VALUE) return WriteTo(inherited, text);
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
  if (console == INVALID_HANDLE_VALUE) return false;
  const bool written = WriteTo(console, text);
  CloseHandle(console);
  return written;
}

std::u16string ExecutablePath() {
  std::u16string path(MAX_PATH, u'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, reinterpret_cast<wchar_t*>(path.data()),
                                            static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

std::uintptr_t OffsetInExecutable(const void* address) {
  HMODULE module = nullptr;
  const DWORD flags =
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  if (address == nullptr || !GetModuleHandleExW(flags, static_cast<LPCWSTR>(address), &module) ||
      module != GetModuleHandleW(nullptr)) {
    return 0;
  }
  return reinterpret_cast<std::uintptr_t>(address) - reinterpret_cast<std::uintptr_t>(module);
}

// Administrators run the browser engine's sandbox on Windows without trouble.
bool RunningAsRoot() { return false; }

// Pipes and devices are refused by their attributes before anything is opened, and by the opened
// handle's type in case the path was swapped in between.
OpenedFile OpenRegularFile(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path));
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return {GetLastError() == ERROR_ACCESS_DENIED ? FileOpening::Denied : FileOpening::Missing, -1};
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {FileOpening::Folder, -1};
  if (!HasFileAttributes(attributes)) return {FileOpening::NotRegular, -1};
  const HANDLE file =
      CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return {GetLastError() == ERROR_ACCESS_DENIED ? FileOpening::Denied : FileOpening::Missing, -1};
  }
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    return {FileOpening::NotRegular, -1};
  }
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY);
  if (descriptor < 0) {
    CloseHandle(file);
    return {FileOpening::Missing, -1};
  }
  return {FileOpening::Opened, descriptor};
}

bool IsRegularFile(const std::u16string& path) {
  return HasFileAttributes(GetFileAttributesW(Wide(path)));
}

// Opened without access rights, as a folder may be too; the handle's name is the final one.
std::optional<std::u16string> FinalPath(const std::u16string& path) {
  const HANDLE file =
      CreateFileW(Wide(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::u16string final(MAX_PATH, u'\0');
  DWORD length = 0;
  for (;;) {
    length = GetFinalPathNameByHandleW(file, reinterpret_cast<wchar_t*>(final.data()),
                                       static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED);
    if (length < final.size()) break;
    final.resize(length);
  }
  CloseHandle(file);
  if (length == 0) return std::nullopt;
  final.resize(length);
  // The name comes in its long form, "\\?\C:\..." or "\\?\UNC\server\...".
  if (final.starts_with(u"\\\\?\\UNC\\")) return u"\\\\" + final.substr(8);
  if (final.starts_with(u"\\\\?\\")) return final.substr(4);
  return final;
}

void ReturnFreeMemory() { HeapCompact(GetProcessHeap(), 0); }

void ShowErrorBox(std::uintptr_t owner, const std::u16string& caption, const std::u16string& text) {
  MSGBOXPARAMSW box{};
  box.cbSize = sizeof box;
  box.hwndOwner = reinterpret_cast<HWND>(owner);
  box.lpszText = Wide(text);
  box.lpszCaption = Wide(caption);
  box.dwStyle = MB_OK | MB_ICONERROR | (owner ? MB_APPLMODAL : MB_TASKMODAL);
  MessageBoxIndirectW(&box);
}

void ShowFatalBox(const std::u16string& caption, const std::u16string& text) {
  MessageBoxW(nullptr, Wide(text), Wide(caption), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void OpenDocument(const std::u16string& path) {
  ShellExecuteW(nullptr, L"open", Wide(path), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace platform
