#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

// A folder of `htmlFiles` HTML files and as many other files, with names of the length generated
// documentation uses, made in the system's temporary folder and removed afterwards.
class BenchFolder {
 public:
  explicit BenchFolder(int htmlFiles) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vellumine-bench-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    static const char* const kOtherExtensions[] = {".png", ".js", ".css", ".json"};
    const int folder = open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int i = 0; i < htmlFiles; ++i) {
      char stem[96];
      std::snprintf(stem, sizeof stem, "class_vellumine_1_1detail_1_1basic__view_%07lld",
                    i * 7919LL % htmlFiles);
      Touch(folder, std::string(stem) + (i % 3 == 0 ? ".htm" : ".html"));
      Touch(folder, std::string(stem) + kOtherExtensions[i % 4]);
    }
    close(folder);
  }
  ~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  static void Touch(int folder, const std::string& name) {
    const int file = openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (file >= 0) close(file);
  }

  std::filesystem::path path_;
};
