#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace core {

// Splits a Windows command line into its arguments after the program's own name. Characters
// 1..32 separate arguments outside double quotes; quotes are removed; a backslash is an ordinary
// character; a pair of double quotes at the start of an argument is skipped.
std::vector<std::u16string> SplitWindowsCommandLine(std::u16string_view commandLine);

// The arguments of a POSIX argv after the program's own name; an empty argument does not count,
// just as an empty quoted pair does not on Windows.
std::vector<std::u16string> PosixArguments(const std::vector<std::u16string>& argumentsAfterName);

}  // namespace core
