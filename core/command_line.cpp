#include "core/command_line.h"

#include <algorithm>
#include <optional>
#include <span>

#include "core/names.h"

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

// The browser engine takes the arguments from this one on (compared without regard to case).
bool IsEngineSeparator(std::u16string_view argument) {
  return EqualIgnoringAsciiCase(argument, u"--webEngineArgs");
}

std::optional<Request> ProgramOption(std::u16string_view argument) {
  if (argument == u"--help") return Request::Help;
  if (argument == u"--version") return Request::Version;
  return std::nullopt;
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

CommandLine ReadCommandLine(PathStyle style, const EnvironmentLookup& environment,
                            const std::vector<std::u16string>& arguments) {
  const auto endOfOptions = std::find(arguments.begin(), arguments.end(), u"--");
  const std::span<const std::u16string> options(arguments.begin(), endOfOptions);
  const std::vector<bool> taken =
      ToolkitOptionMarks(style, ToolkitStartPlatform(style, environment), options);
  CommandLine commandLine;
  const auto addArgument = [&](const std::u16string& argument) {
    if (style == PathStyle::Windows || !argument.empty()) commandLine.arguments.push_back(argument);
  };
  bool forEngine = false;
  for (std::size_t i = 0; i < options.size(); ++i) {
    const std::u16string& argument = options[i];
    forEngine = forEngine || (!taken[i] && IsEngineSeparator(argument));
    if (taken[i] || forEngine) {
      commandLine.toolkitArguments.push_back(argument);
    } else if (const std::optional<Request> request = ProgramOption(argument)) {
      if (commandLine.request == Request::Run) commandLine.request = *request;
    } else {
      addArgument(argument);
    }
  }
  if (endOfOptions != arguments.end())
    std::for_each(endOfOptions + 1, arguments.end(), addArgument);
  return commandLine;
}

std::u16string_view UsageText() {
  return u"Usage: vellumine [OPTION]... [--] [FOLDER | FILE]\n"
         u"Shows the HTML pages of FOLDER, or of the folder of FILE with FILE selected.\n"
         u"\n"
         u"  --help     show this help and exit\n"
         u"  --version  show the version and exit\n"
         u"  --         end of the options: the next argument is the folder or file,\n"
         u"             even when it starts with \"-\"\n"
         u"\n"
         u"Qt's own options, such as -style, -platform and -reverse, go to Qt; the\n"
         u"arguments from --webEngineArgs on go to the browser engine.\n"
         u"\n"
         u"Keys in the window:\n"
         u"  Up, Down, Page Up, Page Down, Home, End  move through the list\n"
         u"  Ctrl+O  Open Folder      F5, Ctrl+R  Reload      F1  Help      Ctrl+Q  Exit\n"
         u"  Alt+Left, Alt+Right      back and forward in the page's history\n"
         u"  Ctrl+F                   find in the page (Enter, F3: next match;\n"
         u"                           Shift+Enter, Shift+F3: previous; Esc: close)\n"
         u"  Ctrl+Plus, Ctrl+Minus    zoom the page in and out (also Ctrl+wheel)\n"
         u"  Ctrl+0                   the page at its natural size\n";
}

std::u16string VersionText(std::u16string_view version) {
  return std::u16string(u"Vellumine ").append(version).append(u"\n");
}

}  // namespace core
