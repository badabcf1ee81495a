#pragma once

#include <string_view>

#include "core/paths.h"

namespace core {

// How a browser's own file loader types a local file: by its name, never by its content, and
// in which character set a text file is read when nothing in it says so.

// The content type of a file by its name's extension (letter case ignored), for the types pages
// use; empty when the extension is not among them.
std::string_view ContentTypeByName(std::u16string_view fileName);

// The name a saved file had on the web, which is what says its type. Saved pages keep a query in a
// file's name ("app.js?v=3", and "style.css?v=2.css" where the saver added an extension), and a
// browser's "save the complete page" adds ".download" to scripts and other files it will not leave
// runnable ("jquery.min.js.download"). After that suffix is dropped, the name is cut at its first
// "?" when what comes before it has an extension ("q?x.html" has none there and stays whole).
std::u16string_view PublishedName(std::u16string_view fileName);

// Whether a file whose name gives no type (no extension: a saver that keeps names as the web gave
// them) may still serve a page as its script, stylesheet or font. It may when it belongs to the
// page's own saved files: it lies in the page's folder or below it, no folder on the way nor the
// file itself is hidden (a name starting with "."), and its name is not one of a key's or of a
// configuration file's. Both paths are final ones (links resolved), so a link is judged by the file
// it leads to.
bool MayServeWithoutType(PathStyle style, std::u16string_view pageFolder, std::u16string_view path);

// The only types a page may run as a script or apply as a stylesheet.
inline constexpr std::string_view kScriptType = "text/javascript";
inline constexpr std::string_view kStylesheetType = "text/css";
// Whether a type is a web font's.
bool IsFontType(std::string_view type);
// Whether a type is one a media element plays: audio, video or a text track.
bool IsMediaType(std::string_view type);

// How many bytes of a file CharsetToDeclare needs to see its own declaration.
inline constexpr std::size_t kCharsetDeclarationReach = 1024;
// How much of a text is read to tell whether it is UTF-8. A browser's decoder settles a text's
// character set from its start too; this bound keeps a huge or endless file from being read
// through.
inline constexpr std::size_t kUtf8CheckReach = 64 * 1024;

// The character set to serve a file of `type` in: "utf-8" for text whose start is valid UTF-8
// and that names no character set itself (no byte order mark, no <meta> declaration in the first
// `kCharsetDeclarationReach` bytes of HTML, no "@charset" in CSS); otherwise empty, and the engine
// finds the character set as it would anyway. XML-based types are left alone: XML is UTF-8 unless
// it declares otherwise.
std::string_view CharsetToDeclare(std::string_view type, std::string_view head, bool validUtf8);

}  // namespace core
