#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// The masks a folder's files are listed by.
inline constexpr std::u16string_view kHtmlPattern = u"*.html *.htm";

constexpr bool IsAsciiText(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t unit) { return unit < 0x80; });
}

// POSIX names are matched as bytes, before they are decoded; that gives the same answer as
// matching their decoded text only while every mask character is ASCII.
static_assert(IsAsciiText(kHtmlPattern));

// The masks of a pattern string, split at every " ".
std::vector<std::u16string> SplitPattern(std::u16string_view pattern);

// Whether the whole name matches the whole mask: "*" matches any run of characters; any other
// mask character matches itself, ASCII letters regardless of case.
bool MatchesMask(std::u16string_view name, std::u16string_view mask);
// The same for a POSIX name's bytes: exact for masks whose characters are all ASCII, since an
// ASCII byte always decodes to itself and no other byte decodes to an ASCII character.
bool MatchesMask(std::string_view nameBytes, std::u16string_view mask);

// The masks of a pattern string, tested on names as the file system gives them.
class MaskSet {
 public:
  explicit MaskSet(std::u16string_view pattern) : masks_(SplitPattern(pattern)) {}

  bool Accepts(std::u16string_view name) const { return AnyMatches(name); }
  bool Accepts(std::string_view nameBytes) const { return AnyMatches(nameBytes); }

 private:
  template <class Name>
  bool AnyMatches(Name name) const {
    return std::any_of(masks_.begin(), masks_.end(),
                       [name](const std::u16string& mask) { return MatchesMask(name, mask); });
  }

  std::vector<std::u16string> masks_;
};

// Whether two texts are equal when ASCII letters are compared regardless of case.
bool EqualIgnoringAsciiCase(std::u16string_view left, std::u16string_view right);

// The list's name order: code unit by code unit after mapping a-z to A-Z, a prefix first.
bool NameLess(std::u16string_view left, std::u16string_view right);

// Sort keys for the name order: byte strings whose byte order (bytes compared as unsigned values,
// a prefix first), with a-z read as A-Z, is the name order of the names they are made from. A
// key is the name with each UTF-16 code unit written on its own in the UTF-8 form of its value
// (CESU-8), whose byte order is the code units' order and which keeps ASCII as it is.
void AppendNameKey(std::u16string_view name, std::string& keys);
// The key of a POSIX name's bytes: the key of their lossless decoding.
void AppendNameKey(std::string_view nameBytes, std::string& keys);
// Whether a POSIX name's bytes are their own key: they are UTF-8 without characters beyond U+FFFF
// (which CESU-8 writes as two surrogates), as ASCII names and most others are.
bool IsOwnNameKey(std::string_view nameBytes);

}  // namespace core
