#include "core/content_types.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace core {
namespace {

struct TypeByExtension {
  std::u16string_view extension;  // lower case, without the dot
  std::string_view type;
};

// The types a browser's file loader gives the names pages use, sorted by extension.
constexpr std::array kTypesByExtension = {
    TypeByExtension{u"apng", "image/apng"},
    TypeByExtension{u"avif", "image/avif"},
    TypeByExtension{u"bmp", "image/bmp"},
    TypeByExtension{u"css", "text/css"},
    TypeByExtension{u"csv", "text/csv"},
    TypeByExtension{u"eot", "application/vnd.ms-fontobject"},
    TypeByExtension{u"flac", "audio/flac"},
    TypeByExtension{u"gif", "image/gif"},
    TypeByExtension{u"htm", "text/html"},
    TypeByExtension{u"html", "text/html"},
    TypeByExtension{u"ico", "image/vnd.microsoft.icon"},
    TypeByExtension{u"jfif", "image/jpeg"},
    TypeByExtension{u"jpeg", "image/jpeg"},
    TypeByExtension{u"jpg", "image/jpeg"},
    TypeByExtension{u"js", "text/javascript"},
    TypeByExtension{u"json", "application/json"},
    TypeByExtension{u"m4a", "audio/x-m4a"},
    TypeByExtension{u"m4v", "video/mp4"},
    TypeByExtension{u"mjs", "text/javascript"},
    TypeByExtension{u"mp3", "audio/mpeg"},
    TypeByExtension{u"mp4", "video/mp4"},
    TypeByExtension{u"oga", "audio/ogg"},
    TypeByExtension{u"ogg", "audio/ogg"},
    TypeByExtension{u"ogv", "video/ogg"},
    TypeByExtension{u"opus", "audio/ogg"},
    TypeByExtension{u"otf", "font/otf"},
    TypeByExtension{u"pdf", "application/pdf"},
    TypeByExtension{u"png", "image/png"},
    TypeByExtension{u"shtml", "text/html"},
    TypeByExtension{u"svg", "image/svg+xml"},
    TypeByExtension{u"text", "text/plain"},
    TypeByExtension{u"tif", "image/tiff"},
    TypeByExtension{u"tiff", "image/tiff"},
    TypeByExtension{u"ttc", "font/collection"},
    TypeByExtension{u"ttf", "font/ttf"},
    TypeByExtension{u"txt", "text/plain"},
    TypeByExtension{u"vtt", "text/vtt"},
    TypeByExtension{u"wasm", "application/wasm"},
    TypeByExtension{u"wav", "audio/wav"},
    TypeByExtension{u"webm", "video/webm"},
    TypeByExtension{u"webp", "image/webp"},
    TypeByExtension{u"woff", "font/woff"},
    TypeByExtension{u"woff2", "font/woff2"},
    TypeByExtension{u"xht", "application/xhtml+xml"},
    TypeByExtension{u"xhtml", "application/xhtml+xml"},
    TypeByExtension{u"xml", "text/xml"},
    TypeByExtension{u"xsl", "text/xml"},
    TypeByExtension{u"xslt", "text/xml"},
};

static_assert(std::is_sorted(kTypesByExtension.begin(), kTypesByExtension.end(),
                             [](const TypeByExtension& a, const TypeByExtension& b) {
                               return a.extension < b.extension;
                             }));

char AsciiLower(char byte) { return byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte; }

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char byte) { return AsciiLower(byte); });
  return lower;
}

std::u16string AsciiLower(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& unit : lower) {
    if (unit >= u'A' && unit <= u'Z') unit += u'a' - u'A';
  }
  return lower;
}

bool StartsWithByteOrderMark(std::string_view bytes) {
  return bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFE\xFF") ||
         bytes.starts_with("\xFF\xFE");
}

bool IsHtmlSpace(char byte) {
  return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\f' || byte == '\r';
}

// Whether a <meta> element among the first bytes of an HTML document names a character set, either
// as <meta charset=...> or as <meta http-equiv="Content-Type" content="...; charset=...">. Comments
// are skipped as a browser's prescan skips them.
bool HtmlDeclaresCharset(std::string_view head) {
  const std::string text = AsciiLower(head.substr(0, kCharsetDeclarationReach));
  for (std::size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
    if (text.compare(at, 4, "<!--") == 0) {
      at = text.find("-->", at + 4);
      if (at == std::string::npos) return false;
      continue;
    }
    constexpr std::string_view kMeta = "<meta";
    const std::size_t after = at + kMeta.size();
    if (text.compare(at, kMeta.size(), kMeta) != 0 || after >= text.size() ||
        !(IsHtmlSpace(text[after]) || text[after] == '/')) {
      continue;
    }
    const std::size_t end = text.find('>', after);
    if (text.substr(after, end - after).find("charset") != std::string::npos) return true;
    if (end == std::string::npos) return false;
    at = end;
  }
  return false;
}

bool IsXmlType(std::string_view type) {
  return type == "text/xml" || type == "application/xml" || type.ends_with("+xml");
}

bool IsTextType(std::string_view type) {
  return type.starts_with("text/") || type == "application/json" ||
         type == "application/javascript";
}

// Names of keys and configuration files that carry no extension, as SSH and cloud tools write them.
constexpr std::array<std::u16string_view, 10> kKeyAndConfigurationNames = {
    u"authorized_keys", u"config",     u"credentials",   u"id_dsa", u"id_ecdsa",
    u"id_ecdsa_sk",     u"id_ed25519", u"id_ed25519_sk", u"id_rsa", u"known_hosts",
};

bool IsSeparator(PathStyle style, char16_t unit) {
  return unit == u'/' || (style == PathStyle::Windows && unit == u'\\');
}

// The part of `path` below `folder`, without its leading separator; nothing when `path` does not
// lie below it. Windows compares names without regard to letter case, as its file systems do.
std::optional<std::u16string_view> PartBelow(PathStyle style, std::u16string_view folder,
                                             std::u16string_view path) {
  while (!folder.empty() && IsSeparator(style, folder.back())) folder.remove_suffix(1);
  if (path.size() <= folder.size() + 1 || !IsSeparator(style, path[folder.size()])) return {};
  const std::u16string_view start = path.substr(0, folder.size());
  const bool same =
      style == PathStyle::Windows ? AsciiLower(start) == AsciiLower(folder) : start == folder;
  if (!same) return {};
  return path.substr(folder.size() + 1);
}

}  // namespace

std::u16string_view PublishedName(std::u16string_view fileName) {
  constexpr std::u16string_view kSavedSuffix = u".download";
  if (fileName.size() > kSavedSuffix.size() &&
      AsciiLower(fileName.substr(fileName.size() - kSavedSuffix.size())) == kSavedSuffix) {
    fileName.remove_suffix(kSavedSuffix.size());
  }
  const std::u16string_view beforeQuery = fileName.substr(0, fileName.find(u'?'));
  return beforeQuery.find(u'.') == std::u16string_view::npos ? fileName : beforeQuery;
}

bool MayServeWithoutType(PathStyle style, std::u16string_view pageFolder,
                         std::u16string_view path) {
  const std::optional<std::u16string_view> below = PartBelow(style, pageFolder, path);
  if (!below) return false;
  const std::u16string_view name = FileNamePart(style, *below);
  if (name.empty() || name.find(u'.') != std::u16string_view::npos) return false;
  if (std::find(kKeyAndConfigurationNames.begin(), kKeyAndConfigurationNames.end(),
                AsciiLower(name)) != kKeyAndConfigurationNames.end()) {
    return false;
  }
  for (std::size_t at = 0; at < below->size(); ++at) {
    const bool startsName = at == 0 || IsSeparator(style, (*below)[at - 1]);
    if (startsName && (*below)[at] == u'.') return false;
  }
  return true;
}

std::string_view ContentTypeByName(std::u16string_view fileName) {
  const std::size_t dot = fileName.rfind(u'.');
  if (dot == std::u16string_view::npos) return {};
  const std::u16string extension = AsciiLower(fileName.substr(dot + 1));
  const auto found = std::lower_bound(kTypesByExtension.begin(), kTypesByExtension.end(), extension,
                                      [](const TypeByExtension& entry, const std::u16string& key) {
                                        return entry.extension < key;
                                      });
  if (found == kTypesByExtension.end() || found->extension != extension) return {};
  return found->type;
}

bool IsFontType(std::string_view type) {
  return type.starts_with("font/") || type == "application/vnd.ms-fontobject";
}

bool IsMediaType(std::string_view type) {
  return type.starts_with("audio/") || type.starts_with("video/") || type == "text/vtt";
}

std::string_view CharsetToDeclare(std::string_view type, std::string_view head, bool validUtf8) {
  if (!validUtf8 || !IsTextType(type) || IsXmlType(type) || StartsWithByteOrderMark(head)) {
    return {};
  }
  if (type == "text/html" && HtmlDeclaresCharset(head)) return {};
  if (type == "text/css" && head.starts_with("@charset \"")) return {};
  return "utf-8";
}

}  // namespace core
