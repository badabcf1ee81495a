#include "core/command_line.h"

#include <algorithm>

namespace core {
namespace {

bool IsSeparator(char16_t unit) { return unit >= 1 && unit <= 32; }

// Skips separators and empty quoted pairs; returns false at the end of the command line.
bool SkipToArgument(std::u16string_view& rest) {
  for (;;) {
    while (!rest.empty() && IsSeparator(rest.front())) rest.remove_prefix(1);
    if (rest.size() >= 2 && rest[0] == u'"' && rest[1] == u'"') {
      rest.remove_prefix(2);
    } else {
      return !rest.empty() && rest.front() != u'\0';
    }
  }
}

std::u16string TakeArgument(std::u16string_view& rest) {
  std::u16string argument;
  bool quoted = false;
  while (!rest.empty() && rest.front() != u'\0' && (quoted || !IsSeparator(rest.front()))) {
    if (rest.front() == u'"') {
      quoted = !quoted;
    } else {
      argument.push_back(rest.front());
    }
    rest.remove_prefix(1);
  }
  return argument;
}

}  // namespace

std::vector<std::u16string> SplitWindowsCommandLine(std::u16string_view commandLine) {
  std::vector<std::u16string> arguments;
  bool programName = true;
  while (SkipToArgument(commandLine)) {
    std::u16string argument = TakeArgument(commandLine);
    if (!programName) arguments.push_back(std::move(argument));
    programName = false;
  }
  return arguments;
}

std::vector<std::u16string> PosixArguments(const std::vector<std::u16string>& argumentsAfterName) {
  std::vector<std::u16string> arguments;
  std::copy_if(argumentsAfterName.begin(), argumentsAfterName.end(), std::back_inserter(arguments),
               [](const std::u16string& argument) { return !argument.empty(); });
  return arguments;
}

}  // namespace core
