#include "core/folder_listing.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "core/encoding.h"
#include "core/error_texts.h"
#include "core/failure.h"

namespace core {
namespace {

constexpr std::size_t kWindowsMaxFolderPath = 248;

std::u16string_view AfterExtendedPrefix(std::u16string_view path) {
  return path.starts_with(kExtendedLengthPrefix) ? path.substr(kExtendedLengthPrefix.size()) : path;
}

bool IsAsciiLetter(char16_t unit) {
  return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
}

bool TooLong(const FileSystem& fileSystem, std::u16string_view fullPath) {
  if (fileSystem.Style() == PathStyle::Posix) {
    return EncodeLossless(fullPath).size() >= fileSystem.PosixPathMax();
  }
  return fullPath.size() >= kWindowsMaxFolderPath && !fullPath.starts_with(kExtendedLengthPrefix);
}

// A ":" is allowed only as the drive letter's colon right after any extended-length prefix.
bool HasMisplacedColon(PathStyle style, std::u16string_view fullPath) {
  if (style == PathStyle::Posix) return false;
  const std::u16string_view rest = AfterExtendedPrefix(fullPath);
  const bool driveColon = rest.size() >= 2 && IsAsciiLetter(rest[0]) && rest[1] == u':';
  const std::size_t firstColon = fullPath.find(u':');
  const std::size_t allowed = fullPath.size() - rest.size() + 1;
  if (firstColon == std::u16string_view::npos) return false;
  if (firstColon != allowed || !driveColon) return true;
  return fullPath.find(u':', firstColon + 1) != std::u16string_view::npos;
}

bool IsBlankAfterTrimming(std::u16string_view path) {
  return std::all_of(path.begin(), path.end(), [](char16_t unit) { return unit <= u' '; });
}

bool HasInvalidCharacter(PathStyle style, std::u16string_view fullPath) {
  if (IsBlankAfterTrimming(fullPath)) return true;
  if (style == PathStyle::Posix) return fullPath.find(u'\0') != std::u16string_view::npos;
  const std::u16string_view rest = AfterExtendedPrefix(fullPath);
  return std::any_of(rest.begin(), rest.end(), [](char16_t unit) {
    return unit < 0x20 || unit == u'"' || unit == u'<' || unit == u'>' || unit == u'|';
  });
}

// As many links as Linux follows while resolving one path before it gives up.
constexpr int kMaxLinksFollowed = 40;

// Adds the "/"-separated components of `path` to the stack, the first one on top.
void PushComponents(std::vector<std::u16string>& stack, std::u16string_view path) {
  std::size_t end = path.size();
  for (std::size_t slash = path.rfind(u'/'); slash != std::u16string_view::npos;
       slash = slash == 0 ? std::u16string_view::npos : path.rfind(u'/', slash - 1)) {
    stack.emplace_back(path.substr(slash + 1, end - slash - 1));
    end = slash;
  }
  stack.emplace_back(path.substr(0, end));
}

std::u16string JoinedComponents(const std::vector<std::u16string>& components) {
  std::u16string path;
  for (const std::u16string& component : components) {
    if (!component.empty()) path.append(u"/").append(component);
  }
  return path.empty() ? u"/" : path;
}

[[noreturn]] void RaisePathNotFound() {
  RaiseFailure("DirectoryNotFoundError", std::u16string(kPathNotFound));
}

}  // namespace

bool OpensAsFolder(const FileSystem& fileSystem, std::u16string_view path) {
  return fileSystem.Directory(path) != DirectoryState::Missing;
}

void ValidateFolder(const FileSystem& fileSystem, std::u16string_view folder) {
  const PathStyle style = fileSystem.Style();
  const ExpandedPath expanded = fileSystem.Expand(folder);
  if (expanded.errorText) {
    RaiseFailure("PathExpansionError", TrimPlatformMessage(*expanded.errorText));
  }
  // Nothing is found in a folder that is gone, just as Windows, which expands a path by its text
  // alone, finds no directory there.
  if (expanded.currentFolderGone) RaisePathNotFound();
  const std::u16string& fullPath = expanded.fullPath;
  if (TooLong(fileSystem, fullPath)) RaiseFailure("PathTooLongError", std::u16string(kPathTooLong));
  if (HasMisplacedColon(style, fullPath)) {
    RaiseFailure("UnsupportedPathFormatError", std::u16string(kPathFormatNotSupported));
  }
  if (HasInvalidCharacter(style, fullPath)) {
    RaiseFailure("InvalidPathCharactersError", std::u16string(kInvalidPathCharacters));
  }
  if (fileSystem.Directory(fullPath) == DirectoryState::Missing) RaisePathNotFound();
}

NameList ListHtmlFiles(const FileSystem& fileSystem, std::u16string_view folder) {
  ValidateFolder(fileSystem, folder);
  const MaskSet masks(kHtmlPattern);
  NameList names;
  fileSystem.ReadFileNames(folder, masks, names);
  names.SortByName();
  return names;
}

ArgumentFolder ListArgumentFolder(const FileSystem& fileSystem, std::u16string_view argument) {
  if (OpensAsFolder(fileSystem, argument)) {
    return {std::u16string(argument), std::nullopt, ListHtmlFiles(fileSystem, argument)};
  }
  std::u16string folder(FolderPart(fileSystem.Style(), argument));
  NameList names = ListHtmlFiles(fileSystem, folder);
  return {std::move(folder), std::u16string(FileNamePart(fileSystem.Style(), argument)),
          std::move(names)};
}

std::u16string PosixFullPath(std::u16string_view currentFolder, std::u16string_view path,
                             const PosixEntryReader& entryAt) {
  if (path.empty()) return {};
  std::u16string joined;
  if (!path.starts_with(u'/')) joined.append(currentFolder).push_back(u'/');
  joined.append(path);

  std::vector<std::u16string> pending;  // the components still to walk, the next one last
  PushComponents(pending, joined);
  std::vector<std::u16string> resolved;
  int linksFollowed = 0;
  while (!pending.empty()) {
    std::u16string part = std::move(pending.back());
    pending.pop_back();
    if (part.empty() || part == u".") continue;
    if (part == u"..") {
      if (!resolved.empty()) resolved.pop_back();
      continue;
    }
    resolved.push_back(std::move(part));
    const PosixEntry entry = entryAt(JoinedComponents(resolved));
    if (entry.kind == PosixEntry::Kind::Directory) continue;
    if (entry.kind == PosixEntry::Kind::Link && ++linksFollowed <= kMaxLinksFollowed) {
      resolved.pop_back();
      if (entry.linkTarget.starts_with(u'/')) resolved.clear();
      PushComponents(pending, entry.linkTarget);
      continue;
    }
    resolved.insert(resolved.end(), std::make_move_iterator(pending.rbegin()),
                    std::make_move_iterator(pending.rend()));
    break;
  }
  return JoinedComponents(resolved);
}

std::u16string FullFilePath(const FileSystem& fileSystem, std::u16string_view filePath) {
  const PathStyle style = fileSystem.Style();
  const std::u16string folder = fileSystem.Expand(FolderPart(style, filePath)).fullPath;
  if (folder.empty()) return {};
  return JoinPath(style, folder, FileNamePart(style, filePath));
}

}  // namespace core
