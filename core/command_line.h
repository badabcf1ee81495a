#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/paths.h"
#include "core/toolkit_options.h"

namespace core {

// Splits a Windows command line into its arguments after the program's own name. Characters
// 1..32 separate arguments outside double quotes; quotes are removed; a backslash is an ordinary
// character; a pair of double quotes at the start of an argument is skipped.
std::vector<std::u16string> SplitWindowsCommandLine(std::u16string_view commandLine);

// What the command line asks the program to do.
enum class Request { Run, Help, Version };

struct CommandLine {
  Request request = Request::Run;
  // What Qt is started with after the program's name: its own options with their values, and the
  // browser engine's arguments from "--webEngineArgs" on, in their original order.
  std::vector<std::u16string> toolkitArguments;
  // The program's arguments; the first one is the folder or file.
  std::vector<std::u16string> arguments;
};

// Reads the arguments after the program's name. Before a "--", Qt's options are taken out first,
// exactly as Qt itself takes them (toolkit_options.h); of what remains, "--webEngineArgs" and all
// after it go to the browser engine, and the first "--help" or "--version" is the request. Every
// argument after the first "--" is the program's. On POSIX an empty argument does not count, just
// as an empty quoted pair does not on Windows.
CommandLine ReadCommandLine(PathStyle style, const EnvironmentLookup& environment,
                            const std::vector<std::u16string>& arguments);

// What --help prints.
std::u16string_view UsageText();

// What --version prints: "Vellumine", the version and a line end.
std::u16string VersionText(std::u16string_view version);

}  // namespace core
