#include "app/ToolkitArguments.h"

#include "platform/platform.h"

ToolkitArguments::ToolkitArguments(const char* programName,
                                   const std::vector<std::u16string>& arguments) {
  texts_.emplace_back(programName);
  for (const std::u16string& argument : arguments) {
    texts_.push_back(platform::ToolkitArgument(argument));
  }
  for (std::string& text : texts_) pointers_.push_back(text.data());
  pointers_.push_back(nullptr);
  count_ = static_cast<int>(texts_.size());
}
