#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/encoding.h"

// A folder of the test's own under the system's temporary folder, removed with everything in it.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vellumine-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    // Readable by everyone, so that a test may look at it as an ordinary user.
    std::filesystem::permissions(
        path_, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                   std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                   std::filesystem::perms::others_exec);
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::u16string Text() const { return core::DecodeLossless(path_.string()); }

  // Writes a page whose title is `title` (the file's own name when none is given).
  std::filesystem::path Page(const std::string& name, const std::string& title = {},
                             const std::string& body = {}) const {
    std::ofstream(path_ / name) << "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>"
                                << (title.empty() ? name : title) << "</title></head><body>" << body
                                << "</body></html>";
    return path_ / name;
  }

 private:
  std::filesystem::path path_;
};
