// Prints what the program makes of this process's command line: "<help>" or "<version>" for a
// request, otherwise its first argument after Qt's options, or "<none>" when there is none.
#include "platform/platform.h"

int main(int argc, char** argv) {
  const core::CommandLine commandLine = platform::ReadCommandLine(argc, argv);
  std::u16string text = commandLine.arguments.empty() ? u"<none>" : commandLine.arguments.front();
  if (commandLine.request == core::Request::Help) text = u"<help>";
  if (commandLine.request == core::Request::Version) text = u"<version>";
  return platform::WriteStandardOutput(text) ? 0 : 1;
}
