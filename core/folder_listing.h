#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/name_list.h"
#include "core/names.h"
#include "core/paths.h"

namespace core {

enum class DirectoryState {
  Present,       // a directory (a link counts when its target is one)
  Missing,       // nothing there, a file, or a path that cannot name anything
  Unexaminable,  // could not be examined for another reason, such as denied access
};

struct ExpandedPath {
  std::u16string fullPath;
  std::optional<std::u16string> errorText;  // the platform's text when expansion failed
  // A relative path whose base, the current folder, no longer exists: it has no full path and
  // names nothing.
  bool currentFolderGone = false;
};

// What the folder listing needs from the operating system.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual PathStyle Style() const = 0;
  // The longest full path in bytes that POSIX systems accept; unused by the Windows rules.
  virtual std::size_t PosixPathMax() const = 0;
  virtual ExpandedPath Expand(std::u16string_view folder) const = 0;
  virtual DirectoryState Directory(std::u16string_view path) const = 0;
  // Adds the names of the folder's entries that are not directories and that `masks` accept,
  // hidden ones included, in the order the file system returns them; the masks are tested before
  // anything else is done with an entry. A folder whose entries cannot be read yields nothing.
  virtual void ReadFileNames(std::u16string_view folder, const MaskSet& masks,
                             NameList& names) const = 0;
};

// Whether a command-line argument is opened as a folder: it is a directory, or it exists but
// cannot be examined.
bool OpensAsFolder(const FileSystem& fileSystem, std::u16string_view path);

// Raises the failure for the first check the folder's full path fails; returns when all pass.
void ValidateFolder(const FileSystem& fileSystem, std::u16string_view folder);

// The names of the folder's HTML files in the list's name order; raises when validation fails.
NameList ListHtmlFiles(const FileSystem& fileSystem, std::u16string_view folder);

// What the command line's first argument opens: a folder, listed, and the name of the entry to
// select in it (none when the argument names the folder itself).
struct ArgumentFolder {
  std::u16string folder;
  std::optional<std::u16string> entryName;
  NameList names;
};

// The argument itself when it opens as a folder, else its folder part with its name part to
// select; raises as ListHtmlFiles does.
ArgumentFolder ListArgumentFolder(const FileSystem& fileSystem, std::u16string_view argument);

// What one POSIX path names when it is looked at without following a final link.
struct PosixEntry {
  enum class Kind { Directory, Link, Other } kind;  // Other: anything else, or nothing there
  std::u16string linkTarget;                        // a link's target as written in the link
};
using PosixEntryReader = std::function<PosixEntry(const std::u16string& path)>;

// A POSIX full path resolved the way the kernel resolves it: a relative path is joined to the
// current folder, then the path is walked from the root, each link replaced by its target before
// a ".." that follows it takes the parent, and "." dropped. From the first component that is
// neither a directory nor a link (a file, nothing, a link after 40 links) the rest stays as
// written, so the result names nothing exactly where the kernel finds nothing. An empty path
// stays empty.
std::u16string PosixFullPath(std::u16string_view currentFolder, std::u16string_view path,
                             const PosixEntryReader& entryAt);

// The full path of a listed file: its folder expanded as the listing expands it, then the name
// (not expanded, so a link among the pages is shown from its own folder). Empty when the folder
// has no full path.
std::u16string FullFilePath(const FileSystem& fileSystem, std::u16string_view filePath);

}  // namespace core
