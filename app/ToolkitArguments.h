#pragma once

#include <string>
#include <vector>

// Qt's own argv: the program's name followed by the arguments Qt is to read, in the form Qt reads
// them. QApplication keeps using argc and argv while it lives, so this object must outlive it.
class ToolkitArguments {
 public:
  ToolkitArguments(const char* programName, const std::vector<std::u16string>& arguments);
  ToolkitArguments(const ToolkitArguments&) = delete;
  ToolkitArguments& operator=(const ToolkitArguments&) = delete;

  int& Count() { return count_; }
  char** Values() { return pointers_.data(); }

 private:
  std::vector<std::string> texts_;
  std::vector<char*> pointers_;
  int count_;
};
