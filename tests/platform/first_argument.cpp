// Prints the first argument the platform layer finds on this process's command line, or
// "<none>" when there is none.
#include <cstdio>

#include "core/encoding.h"
#include "platform/platform.h"

int main() {
  const auto arguments = platform::CommandLineArguments();
  const std::string text = arguments.empty() ? "<none>" : core::EncodeLossless(arguments.front());
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}
