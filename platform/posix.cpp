#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/encoding.h"
#include "platform/platform.h"

namespace platform {
namespace {

std::u16string ErrorText(int error) { return core::DecodeLossless(std::strerror(error)); }

bool CountsAsMissing(int error) {
  return error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG || error == ELOOP;
}

FileOpening OpeningFailure(int error) {
  return error == EACCES || error == EPERM ? FileOpening::Denied : FileOpening::Missing;
}

// Entries are read straight from the kernel into one large buffer, many thousands per call.
constexpr std::size_t kDirectoryBufferBytes = 1 << 20;

// A link, or an entry whose type the file system does not report, is a directory when what it
// leads to is one.
bool LeadsToDirectory(int directoryFd, const dirent64& entry) {
  if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return false;
  struct stat status {};
  return fstatat(directoryFd, entry.d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
}

// What the path names, a final link not followed; anything unreadable counts as Other.
core::PosixEntry EntryAt(const std::u16string& path) {
  using Kind = core::PosixEntry::Kind;
  if (path.find(u'\0') != std::u16string::npos) return {Kind::Other, {}};
  const std::string bytes = core::EncodeLossless(path);
  struct stat status {};
  if (lstat(bytes.c_str(), &status) != 0) return {Kind::Other, {}};
  if (S_ISDIR(status.st_mode)) return {Kind::Directory, {}};
  if (!S_ISLNK(status.st_mode)) return {Kind::Other, {}};
  std::string target(PATH_MAX, '\0');
  const ssize_t length = readlink(bytes.c_str(), target.data(), target.size());
  if (length <= 0) return {Kind::Other, {}};
  target.resize(static_cast<std::size_t>(length));
  return {Kind::Link, core::DecodeLossless(target)};
}

class FolderHandle {
 public:
  explicit FolderHandle(const std::string& path)
      : fd_(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
  ~FolderHandle() {
    if (fd_ >= 0) close(fd_);
  }
  FolderHandle(const FolderHandle&) = delete;
  FolderHandle& operator=(const FolderHandle&) = delete;

  int Fd() const { return fd_; }

 private:
  int fd_;
};

class PosixFileSystem final : public core::FileSystem {
 public:
  core::PathStyle Style() const override { return core::PathStyle::Posix; }

  std::size_t PosixPathMax() const override { return PATH_MAX; }

  core::ExpandedPath Expand(std::u16string_view folder) const override {
    if (folder.empty() || folder.starts_with(u'/')) {
      return {core::PosixFullPath({}, folder, EntryAt), {}};
    }
    std::unique_ptr<char, decltype(&std::free)> current(getcwd(nullptr, 0), &std::free);
    if (!current && errno == ENOENT) return {{}, {}, true};
    if (!current) return {{}, ErrorText(errno)};
    return {core::PosixFullPath(core::DecodeLossless(current.get()), folder, EntryAt), {}};
  }

  core::DirectoryState Directory(std::u16string_view path) const override {
    if (path.find(u'\0') != std::u16string_view::npos) return core::DirectoryState::Missing;
    struct stat status {};
    if (stat(core::EncodeLossless(path).c_str(), &status) != 0) {
      return CountsAsMissing(errno) ? core::DirectoryState::Missing
                                    : core::DirectoryState::Unexaminable;
    }
    return S_ISDIR(status.st_mode) ? core::DirectoryState::Present : core::DirectoryState::Missing;
  }

  void ReadFileNames(std::u16string_view folder, const core::MaskSet& masks,
                     core::NameList& names) const override {
    const FolderHandle directory(core::EncodeLossless(folder));
    if (directory.Fd() < 0) return;
    const std::unique_ptr<char[]> buffer(new char[kDirectoryBufferBytes]);
    ssize_t filled = 0;
    while ((filled = getdents64(directory.Fd(), buffer.get(), kDirectoryBufferBytes)) > 0) {
      for (ssize_t offset = 0; offset < filled;) {
        const auto* entry = reinterpret_cast<const dirent64*>(buffer.get() + offset);
        offset += entry->d_reclen;
        if (entry->d_type == DT_DIR) continue;
        const std::string_view name = entry->d_name;
        if (masks.Accepts(name) && !LeadsToDirectory(directory.Fd(), *entry)) names.Add(name);
      }
    }
  }
};

}  // namespace

const core::FileSystem& FileSystem() {
  static const PosixFileSystem fileSystem;
  return fileSystem;
}

std::vector<std::u16string> Arguments(int argc, char** argv) {
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(core::DecodeLossless(argv[i]));
  return arguments;
}

std::optional<std::u16string> EnvironmentVariable(std::u16string_view name) {
  const char* value = std::getenv(core::EncodeLossless(name).c_str());
  if (value == nullptr) return std::nullopt;
  return core::DecodeLossless(value);
}

std::string ToolkitArgument(std::u16string_view argument) { return core::EncodeLossless(argument); }

bool WriteStandardOutput(std::u16string_view text) {
  const std::string bytes = core::EncodeLossless(text);
  return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
         std::fflush(stdout) == 0;
}

std::u16string ExecutablePath() {
  std::string buffer(PATH_MAX, '\0');
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0) return {};
  buffer.resize(static_cast<std::size_t>(length));
  return core::DecodeLossless(buffer);
}

std::uintptr_t OffsetInExecutable(const void* address) {
  Dl_info info{};
  if (address == nullptr || dladdr(address, &info) == 0 || info.dli_fbase == nullptr) return 0;
  return reinterpret_cast<std::uintptr_t>(address) -
         reinterpret_cast<std::uintptr_t>(info.dli_fbase);
}

bool RunningAsRoot() { return geteuid() == 0; }

// The file is examined before it is opened, and opened without waiting (a FIFO would wait for a
// writer), then examined again in case it was swapped in between.
OpenedFile OpenRegularFile(const std::u16string& path) {
  if (path.find(u'\0') != std::u16string::npos) return {FileOpening::Missing, -1};
  const std::string bytes = core::EncodeLossless(path);
  struct stat status {};
  if (stat(bytes.c_str(), &status) != 0) return {OpeningFailure(errno), -1};
  if (S_ISDIR(status.st_mode)) return {FileOpening::Folder, -1};
  if (!S_ISREG(status.st_mode)) return {FileOpening::NotRegular, -1};
  const int descriptor = open(bytes.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (descriptor < 0) return {OpeningFailure(errno), -1};
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(descriptor);
    return {FileOpening::NotRegular, -1};
  }
  return {FileOpening::Opened, descriptor};
}

bool IsRegularFile(const std::u16string& path) {
  struct stat status {};
  return path.find(u'\0') == std::u16string::npos &&
         stat(core::EncodeLossless(path).c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::optional<std::u16string> FinalPath(const std::u16string& path) {
  if (path.find(u'\0') != std::u16string::npos) return std::nullopt;
  const std::unique_ptr<char, decltype(&free)> resolved(
      realpath(core::EncodeLossless(path).c_str(), nullptr), &free);
  if (!resolved) return std::nullopt;
  return core::DecodeLossless(resolved.get());
}

void ReturnFreeMemory() { malloc_trim(0); }

}  // namespace platform
