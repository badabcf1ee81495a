#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace core {

// Which operating system's path rules apply. Both are always available so that either can be
// tested anywhere; the platform layer says which one the running program uses.
enum class PathStyle { Windows, Posix };

// Replaces every `from` by `to` in one left-to-right pass over non-overlapping occurrences.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from,
                          std::u16string_view to);

// The folder part of a path: everything up to and including its last separator ("\" or ":" on
// Windows, "/" on POSIX); empty when there is none. The file name is the rest.
std::u16string_view FolderPart(PathStyle style, std::u16string_view path);
std::u16string_view FileNamePart(PathStyle style, std::u16string_view path);

// A folder joined with a name: "\" between them on Windows unless the folder ends in "\", "/"
// or ":"; "/" on POSIX unless the folder ends in "/".
std::u16string JoinPath(PathStyle style, std::u16string_view folder, std::u16string_view name);

// The path of a listed file: folder, one separator, name, then doubled separators made single.
std::u16string SelectedFilePath(PathStyle style, std::u16string_view folder,
                                std::u16string_view name);

// The "file:///" address of a file path, built character for character without escaping.
std::u16string PageAddress(PathStyle style, std::u16string_view filePath);

// The help page beside the executable. Windows: the executable's path cut after its last "\" or
// ":", that final "\" dropped unless a "\" or ":" precedes it (a drive root keeps it), then
// "\help.html". POSIX: the executable's folder without its trailing "/", then "/help.html".
std::u16string HelpPagePath(PathStyle style, std::u16string_view executablePath);

// The URL scheme through which the browser view loads local pages: the program reads each page
// itself, so that it sees every file before the engine does.
inline constexpr std::string_view kPageScheme = "vellumine";
// Every page URL names this host, so that the engine keeps all local pages in one renderer instead
// of starting one per page.
inline constexpr std::string_view kPageHost = "localhost";

// The URL that makes the browser engine load exactly the file a page address names, in the page
// scheme. The address is not parsed as a URL (a parser would read "#" as a fragment and "%41" as
// "A"): its path is percent-encoded byte for byte, so every character of the name stays part of
// the file name.
std::string EngineUrlFromAddress(std::u16string_view pageAddress);

// The file a local URL names, from the URL's host and its percent-encoded path. Windows: "/C:/a/b"
// is C:\a\b and a host makes a UNC path; POSIX: the path itself, with no host but "localhost".
// Empty when the URL cannot name a local file (another host, a NUL byte, a relative path).
std::optional<std::u16string> FilePathFromUrl(PathStyle style, std::string_view host,
                                              std::string_view encodedPath);

}  // namespace core
