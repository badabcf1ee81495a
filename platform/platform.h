#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/command_line.h"
#include "core/folder_listing.h"
#include "core/paths.h"

// The thin operating-system layer: everything below the windows that differs between systems.
namespace platform {

#ifdef _WIN32
inline constexpr core::PathStyle kPathStyle = core::PathStyle::Windows;
#else
inline constexpr core::PathStyle kPathStyle = core::PathStyle::Posix;
#endif

// The file system as the folder listing sees it.
const core::FileSystem& FileSystem();

// The process's arguments after its own name, as the system gives them: POSIX decodes argv
// losslessly (core/encoding.h); Windows splits its raw command line by the program's own rule and
// does not use argc and argv.
std::vector<std::u16string> Arguments(int argc, char** argv);

// An environment variable's value, or nothing when it is not set.
std::optional<std::u16string> EnvironmentVariable(std::u16string_view name);

// The process's command line read by the program's rules (core/command_line.h).
inline core::CommandLine ReadCommandLine(int argc, char** argv) {
  return core::ReadCommandLine(kPathStyle, EnvironmentVariable, Arguments(argc, argv));
}

// An argument as Qt reads it from argv: its own bytes on POSIX; on Windows in the ANSI code page,
// as Qt's own Windows start-up code hands arguments to main.
std::string ToolkitArgument(std::u16string_view argument);

// Writes text to standard output; returns whether all of it was written. A Windows program
// without a console of its own writes to the console it was started from.
bool WriteStandardOutput(std::u16string_view text);

// The executable's own full path.
std::u16string ExecutablePath();

// The offset of a code address within the executable, or 0 when it lies outside it.
std::uintptr_t OffsetInExecutable(const void* address);

// How opening a file for the browser view went.
enum class FileOpening { Opened, Missing, Folder, NotRegular, Denied };

struct OpenedFile {
  FileOpening result;
  int descriptor;  // a C runtime file descriptor the caller closes; -1 unless Opened
};

// Opens a regular file for reading. Anything else (a folder, FIFO, socket or device) is refused
// without ever blocking, so no page can hang a reader by naming one.
OpenedFile OpenRegularFile(const std::u16string& path);

// Whether the path names a regular file, links followed; examining it never blocks on a FIFO.
bool IsRegularFile(const std::u16string& path);

// The path with every link and "." or ".." resolved: the file that opening the path reads. Nothing
// when the path names nothing that exists.
std::optional<std::u16string> FinalPath(const std::u16string& path);

// Hands the heap's free memory back to the system. The browser engine frees what a page's loads
// held when the page is left, but the C library keeps it for later use unless asked.
void ReturnFreeMemory();

// Whether the process runs with the administrator's rights, under which the browser engine's
// sandbox refuses to start.
bool RunningAsRoot();

#ifdef _WIN32
// The Windows build shows its boxes and opens the help page through the system itself.

// The event-loop error box: error icon, one OK button, owned by and modal to `owner` (the active
// window), or modal to the whole program when there is none.
void ShowErrorBox(std::uintptr_t owner, const std::u16string& caption, const std::u16string& text);

// The fatal start-up box: no owner, modal to the whole program, error icon, one OK button.
void ShowFatalBox(const std::u16string& caption, const std::u16string& text);

// The shell's "open" for a document, with no parent window, parameters or working folder.
void OpenDocument(const std::u16string& path);
#endif

}  // namespace platform
