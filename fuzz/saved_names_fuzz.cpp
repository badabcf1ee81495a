// A saved file's published name, and whether a file without a type may serve a page, answer as
// plain rules over the path's names: the names below the page's folder, split at every separator.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/content_types.h"
#include "fuzz/FuzzInput.h"

namespace {

std::u16string Lower(std::u16string text) {
  for (char16_t& unit : text) {
    if (unit >= u'A' && unit <= u'Z') unit += u'a' - u'A';
  }
  return text;
}

std::u16string ReferencePublishedName(std::u16string name) {
  const std::u16string suffix = u".download";
  if (name.size() > suffix.size() && Lower(name.substr(name.size() - suffix.size())) == suffix) {
    name.resize(name.size() - suffix.size());
  }
  const std::size_t query = name.find(u'?');
  if (query == std::u16string::npos) return name;
  const std::u16string before = name.substr(0, query);
  return before.find(u'.') == std::u16string::npos ? name : before;
}

// POSIX paths only: the page's folder and the path are both split into names.
bool ReferenceMayServe(const std::u16string& folder, const std::u16string& path) {
  std::vector<std::u16string> folderNames = fuzz_input::Split<char16_t>(folder, u'/');
  while (!folderNames.empty() && folderNames.back().empty()) folderNames.pop_back();
  if (folderNames.empty()) folderNames.emplace_back();  // nothing but separators: the root
  const std::vector<std::u16string> names = fuzz_input::Split<char16_t>(path, u'/');
  if (names.size() <= folderNames.size() ||
      !std::equal(folderNames.begin(), folderNames.end(), names.begin())) {
    return false;
  }
  const std::vector<std::u16string> below(
      names.begin() + static_cast<std::ptrdiff_t>(folderNames.size()), names.end());
  const std::u16string& name = below.back();
  if (name.empty() || name.find(u'.') != std::u16string::npos) return false;
  for (const char16_t* key :
       {u"authorized_keys", u"config", u"credentials", u"id_dsa", u"id_ecdsa", u"id_ecdsa_sk",
        u"id_ed25519", u"id_ed25519_sk", u"id_rsa", u"known_hosts"}) {
    if (Lower(name) == key) return false;
  }
  return std::none_of(below.begin(), below.end(),
                      [](const std::u16string& part) { return part.starts_with(u'.'); });
}

}  // namespace

// The input is the page's folder and a path, separated by a zero code unit.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text = fuzz_input::CodeUnits(fuzz_input::Bytes(data, size));
  const std::size_t zero = text.find(u'\0');
  const std::u16string folder = text.substr(0, zero);
  const std::u16string path = zero == std::u16string::npos ? text : text.substr(zero + 1);
  if (core::PublishedName(path) != ReferencePublishedName(path)) std::abort();
  const bool mayServe = core::MayServeWithoutType(core::PathStyle::Posix, folder, path);
  if (mayServe != ReferenceMayServe(folder, path)) std::abort();
  return 0;
}
