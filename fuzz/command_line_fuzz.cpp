// The Windows command line splits into the arguments the written rule gives.
#include <cstdlib>
#include <vector>

#include "core/command_line.h"
#include "fuzz/FuzzInput.h"

namespace {

bool Separates(char16_t unit) { return unit >= 1 && unit <= 32; }

// The rule as written, one character at a time: characters 1..32 separate arguments outside
// double quotes, quotes are removed, a pair of quotes where an argument would start is skipped;
// the command line ends at a NUL. The first argument is the program's name.
std::vector<std::u16string> WrittenRule(std::u16string_view line) {
  line = line.substr(0, line.find(u'\0'));
  std::vector<std::u16string> arguments;
  std::u16string argument;
  bool inArgument = false;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char16_t unit = line[i];
    if (!inArgument) {
      if (Separates(unit)) continue;
      if (unit == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
        ++i;
        continue;
      }
      inArgument = true;
      quoted = false;
      argument.clear();
    }
    if (unit == u'"') {
      quoted = !quoted;
    } else if (Separates(unit) && !quoted) {
      arguments.push_back(argument);
      inArgument = false;
    } else {
      argument.push_back(unit);
    }
  }
  if (inArgument) arguments.push_back(argument);
  if (!arguments.empty()) arguments.erase(arguments.begin());
  return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string line = fuzz_input::CodeUnits(fuzz_input::Bytes(data, size));
  if (core::SplitWindowsCommandLine(line) != WrittenRule(line)) std::abort();
  return 0;
}
