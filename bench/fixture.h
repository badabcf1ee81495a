#pragma once

#include <stdlib.h>

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
    for (int i = 0; i < htmlFiles; ++i) {
      char stem[96];
      std::snprintf(stem, sizeof stem, "class_vellumine_1_1detail_1_1basic__view_%07d",
                    (i * 7919) % htmlFiles);
      Touch(std::string(stem) + (i % 3 == 0 ? ".htm" : ".html"));
      Touch(std::string(stem) + kOtherExtensions[i % 4]);
    }
  }
  ~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  void Touch(const std::string& name) const {
    if (std::FILE* file = std::fopen((path_ / name).c_str(), "w")) std::fclose(file);
  }

  std::filesystem::path path_;
};
