// Every full path goes to the engine's URL and back to itself, in both path styles: POSIX paths of
// any bytes, Windows drive, network-share and extended-length paths of any UTF-16 code units.
#include <cstdlib>

#include "core/encoding.h"
#include "core/paths.h"
#include "fuzz/FuzzInput.h"

namespace {

// The text with NULs and `dropped` taken out and runs of `separator` made single, as in a full
// path.
template <class Char>
std::basic_string<Char> AsFullPathPart(std::basic_string_view<Char> text, Char separator,
                                       Char dropped) {
  std::basic_string<Char> part;
  for (const Char unit : text) {
    if (unit == Char(0) || unit == dropped) continue;
    if (unit == separator && !part.empty() && part.back() == separator) continue;
    part.push_back(unit);
  }
  return part;
}

void CheckRoundTrip(core::PathStyle style, std::u16string_view path, std::u16string_view back) {
  const std::string url = core::EngineUrlFromPath(style, path);
  const std::size_t hostStart = url.find("://") + 3;
  const std::size_t pathStart = url.find('/', hostStart);
  if (pathStart == std::string::npos) std::abort();
  const std::optional<std::u16string> file =
      core::FilePathFromUrl(style, std::string_view(url).substr(hostStart, pathStart - hostStart),
                            std::string_view(url).substr(pathStart));
  if (file != back) std::abort();
}

void CheckPosix(std::string_view bytes) {
  const std::string path = AsFullPathPart(std::string_view("/" + std::string(bytes)), '/', '\0');
  const std::u16string decoded = core::DecodeLossless(path);
  CheckRoundTrip(core::PathStyle::Posix, decoded, decoded);
}

// The first unit chooses the form; a share's server is the text up to the first "\". A server
// named "?" or "." would make the path an extended-length or device path, not a share.
void CheckWindows(std::u16string_view units) {
  if (units.empty()) return;
  const char16_t form = units.front() % 4;
  std::u16string rest = AsFullPathPart(units.substr(1), u'\\', u'/');
  if (rest.starts_with(u'\\')) rest.erase(0, 1);
  if (form == 0) return CheckRoundTrip(core::PathStyle::Windows, u"C:\\" + rest, u"C:\\" + rest);
  if (form == 1) {
    return CheckRoundTrip(core::PathStyle::Windows, u"\\\\?\\C:\\" + rest, u"C:\\" + rest);
  }
  const std::size_t serverEnd = rest.find(u'\\');
  const std::u16string_view server = std::u16string_view(rest).substr(0, serverEnd);
  if (serverEnd == 0 || serverEnd == std::u16string::npos || server == u"localhost" ||
      server == u"?" || server == u".") {
    return;
  }
  const std::u16string share = u"\\\\" + rest;
  const std::u16string path = form == 2 ? share : u"\\\\?\\UNC\\" + rest;
  CheckRoundTrip(core::PathStyle::Windows, path, share);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz_input::Bytes(data, size);
  CheckPosix(bytes);
  CheckWindows(fuzz_input::CodeUnits(bytes));
  return 0;
}
