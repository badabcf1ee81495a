#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace core {

// Which operating system's path rules apply. Both are always available so that either can be
// tested anywhere; the platform layer says which one the running program uses.
enum class PathStyle { Windows, Posix };

// The prefix of a Windows extended-length path ("\\?\UNC\" for a network share).
inline constexpr std::u16string_view kExtendedLengthPrefix = u"\\\\?\\";

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

// The path of a listed file: folder, one separator, name, then doubled separators made single,
// except the leading "\\" of a Windows network share or extended-length path.
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

// The URL that makes the browser engine load exactly the file a full path names, in the page
// scheme. Its path is the path part of the file's page address, percent-encoded byte for byte (a
// URL parser would read "#" as a fragment and "%41" as "A"), so every character of the name stays
// part of the file name: POSIX names as their bytes, Windows names as WTF-8, which keeps every
// UTF-16 code unit, unpaired surrogates too. A Windows network share's server is the URL's host
// ("\\server\share\p.html" is "vellumine://server/share/p.html"); any other path has kPageHost.
std::string EngineUrlFromPath(PathStyle style, std::u16string_view fullPath);

// The file a local URL names, from the URL's host and its percent-encoded path, read back by the
// rule EngineUrlFromPath writes with. Windows: "/C:/a/b" is C:\a\b and a host other than
// "localhost" makes a UNC path; POSIX: the path itself, with no host but "localhost". Empty when
// the URL cannot name a local file (another host on POSIX, a NUL byte in host or path, a relative
// path, bytes that are not WTF-8 on Windows).
std::optional<std::u16string> FilePathFromUrl(PathStyle style, std::string_view host,
                                              std::string_view encodedPath);

}  // namespace core
