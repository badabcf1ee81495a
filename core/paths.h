#pragma once

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

// The URL that makes the browser engine load exactly the file a page address names. The address
// is not parsed as a URL (a parser would read "#" as a fragment and "%41" as "A"): its path is
// percent-encoded byte for byte, so every character of the name stays part of the file name.
std::string EngineUrlFromAddress(std::u16string_view pageAddress);

}  // namespace core
