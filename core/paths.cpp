#include "core/paths.h"

#include "core/encoding.h"

namespace core {
namespace {

constexpr std::u16string_view kFileScheme = u"file://";

bool IsSeparator(PathStyle style, char16_t unit) {
  return style == PathStyle::Windows ? unit == u'\\' || unit == u':' : unit == u'/';
}

std::size_t FolderLength(PathStyle style, std::u16string_view path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(style, path[i - 1])) return i;
  }
  return 0;
}

bool KeptLiterally(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~' ||
         byte == '/' || byte == ':';
}

bool IsAsciiLetter(char16_t unit) {
  return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z');
}

int HexValue(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  return -1;
}

// "%XX" becomes the byte XX; anything else, a stray "%" included, stays as it is.
std::string PercentDecode(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int high = text[i] == '%' && i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
    if (low < 0) {
      bytes.push_back(text[i]);
      continue;
    }
    bytes.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return bytes;
}

}  // namespace

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from,
                          std::u16string_view to) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t found = text.find(from); found != std::u16string_view::npos;
       found = text.find(from, start)) {
    out.append(text.substr(start, found - start)).append(to);
    start = found + from.size();
  }
  out.append(text.substr(start));
  return out;
}

std::u16string_view FolderPart(PathStyle style, std::u16string_view path) {
  return path.substr(0, FolderLength(style, path));
}

std::u16string_view FileNamePart(PathStyle style, std::u16string_view path) {
  return path.substr(FolderLength(style, path));
}

std::u16string JoinPath(PathStyle style, std::u16string_view folder, std::u16string_view name) {
  const bool windows = style == PathStyle::Windows;
  const bool separated =
      !folder.empty() &&
      (windows ? folder.back() == u'\\' || folder.back() == u'/' || folder.back() == u':'
               : folder.back() == u'/');
  std::u16string path(folder);
  if (!separated) path.push_back(windows ? u'\\' : u'/');
  return path.append(name);
}

std::u16string SelectedFilePath(PathStyle style, std::u16string_view folder,
                                std::u16string_view name) {
  const std::u16string_view separator = style == PathStyle::Windows ? u"\\" : u"/";
  const std::u16string_view doubled = style == PathStyle::Windows ? u"\\\\" : u"//";
  std::u16string path(folder);
  path.append(separator).append(name);
  return ReplaceAll(path, doubled, separator);
}

std::u16string PageAddress(PathStyle style, std::u16string_view filePath) {
  std::u16string address(u"file:///");
  address +=
      style == PathStyle::Windows ? ReplaceAll(filePath, u"\\", u"/") : std::u16string(filePath);
  return ReplaceAll(address, u"////", u"///");
}

std::u16string HelpPagePath(PathStyle style, std::u16string_view executablePath) {
  std::u16string_view folder = FolderPart(style, executablePath);
  if (style == PathStyle::Posix) {
    if (folder.ends_with(u'/')) folder.remove_suffix(1);
    return std::u16string(folder) + u"/help.html";
  }
  const bool keepsBackslash = folder.size() >= 2 && (folder[folder.size() - 2] == u'\\' ||
                                                     folder[folder.size() - 2] == u':');
  if (folder.ends_with(u'\\') && !keepsBackslash) folder.remove_suffix(1);
  return std::u16string(folder) + u"\\help.html";
}

std::string EngineUrlFromAddress(std::u16string_view pageAddress) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::u16string_view path = pageAddress;
  if (path.starts_with(kFileScheme)) path.remove_prefix(kFileScheme.size());
  std::string url(kPageScheme);
  url.append("://").append(kPageHost);
  for (const char byte : EncodeLossless(path)) {
    const auto value = static_cast<unsigned char>(byte);
    if (KeptLiterally(value)) {
      url.push_back(byte);
    } else {
      url.append({'%', kHex[value >> 4], kHex[value & 0x0F]});
    }
  }
  return url;
}

std::optional<std::u16string> FilePathFromUrl(PathStyle style, std::string_view host,
                                              std::string_view encodedPath) {
  const std::string bytes = PercentDecode(encodedPath);
  if (!bytes.starts_with('/') || bytes.find('\0') != std::string::npos) return std::nullopt;
  std::u16string path = DecodeLossless(bytes);
  if (style == PathStyle::Posix) {
    if (!host.empty() && host != "localhost") return std::nullopt;
    return path;
  }
  const bool drivePath = path.size() >= 3 && IsAsciiLetter(path[1]) && path[2] == u':';
  if (host.empty() || host == "localhost") {
    if (drivePath) path.erase(0, 1);
  } else {
    path = u"//" + DecodeLossless(host) + path;
  }
  return ReplaceAll(path, u"/", u"\\");
}

}  // namespace core
