#include "core/paths.h"

#include <algorithm>

#include "core/encoding.h"

namespace core {
namespace {

constexpr std::u16string_view kFileScheme = u"file://";
constexpr std::u16string_view kUncPrefix = u"\\\\";
constexpr std::u16string_view kExtendedUncPrefix = u"\\\\?\\UNC\\";

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

bool HasNul(std::string_view bytes) { return bytes.find('\0') != std::string_view::npos; }

// A file name's bytes in a URL: POSIX names are bytes (lossless decoding), Windows names UTF-16
// code units (WTF-8), so that every name has a URL of its own.
std::string EncodeFileName(PathStyle style, std::u16string_view name) {
  return style == PathStyle::Windows ? EncodeWtf8(name) : EncodeLossless(name);
}

std::optional<std::u16string> DecodeFileName(PathStyle style, std::string_view bytes) {
  if (style == PathStyle::Windows) return DecodeWtf8(bytes);
  return DecodeLossless(bytes);
}

void AppendPercentEncoded(std::string& url, std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    if (KeptLiterally(value)) {
      url.push_back(byte);
    } else {
      url.append({'%', kHex[value >> 4], kHex[value & 0x0F]});
    }
  }
}

// A network share's server and the path on it; for any other path no server and the path itself.
struct ServerAndPath {
  std::u16string_view server;
  std::u16string_view path;
};

ServerAndPath SplitAtServerEnd(std::u16string_view share) {
  const std::size_t end = std::min(share.find(u'\\'), share.size());
  return {share.substr(0, end), share.substr(end)};
}

// Windows: "\\server\share\..." and "\\?\UNC\server\share\..." lie on the server;
// "\\?\C:\..." is the drive path after the extended-length prefix.
ServerAndPath SplitServer(PathStyle style, std::u16string_view fullPath) {
  if (style == PathStyle::Posix) return {{}, fullPath};
  if (fullPath.starts_with(kExtendedUncPrefix)) {
    return SplitAtServerEnd(fullPath.substr(kExtendedUncPrefix.size()));
  }
  if (fullPath.starts_with(kExtendedLengthPrefix)) {
    return {{}, fullPath.substr(kExtendedLengthPrefix.size())};
  }
  if (fullPath.starts_with(kUncPrefix)) return SplitAtServerEnd(fullPath.substr(kUncPrefix.size()));
  return {{}, fullPath};
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
  // A Windows path that starts with "\\" names a network share (or has the extended-length
  // prefix); only the separators after it are made single.
  const std::size_t kept = style == PathStyle::Windows && path.starts_with(kUncPrefix) ? 2 : 0;
  return path.substr(0, kept) +
         ReplaceAll(std::u16string_view(path).substr(kept), doubled, separator);
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

std::string EngineUrlFromPath(PathStyle style, std::u16string_view fullPath) {
  const ServerAndPath parts = SplitServer(style, fullPath);
  const std::u16string address = PageAddress(style, parts.path);
  const std::u16string_view path = std::u16string_view(address).substr(kFileScheme.size());
  std::string url(kPageScheme);
  url.append("://");
  if (parts.server.empty()) {
    url.append(kPageHost);
  } else {
    AppendPercentEncoded(url, EncodeFileName(style, parts.server));
  }
  AppendPercentEncoded(url, EncodeFileName(style, path));
  return url;
}

std::optional<std::u16string> FilePathFromUrl(PathStyle style, std::string_view host,
                                              std::string_view encodedPath) {
  const std::string bytes = PercentDecode(encodedPath);
  const std::string server = PercentDecode(host);
  if (!bytes.starts_with('/') || HasNul(bytes) || HasNul(server)) return std::nullopt;
  std::optional<std::u16string> path = DecodeFileName(style, bytes);
  if (!path) return std::nullopt;
  if (style == PathStyle::Posix) {
    if (!server.empty() && server != "localhost") return std::nullopt;
    return path;
  }
  const bool drivePath = path->size() >= 3 && IsAsciiLetter((*path)[1]) && (*path)[2] == u':';
  if (server.empty() || server == "localhost") {
    if (drivePath) path->erase(0, 1);
  } else {
    const std::optional<std::u16string> serverName = DecodeFileName(style, server);
    if (!serverName) return std::nullopt;
    path = u"//" + *serverName + *path;
  }
  return ReplaceAll(*path, u"/", u"\\");
}

}  // namespace core
