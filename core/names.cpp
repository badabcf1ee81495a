#include "core/names.h"

#include "core/encoding.h"

namespace core {
namespace {

constexpr char16_t UpperAscii(char16_t unit) {
  return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
}

bool SameIgnoringAsciiCase(char16_t left, char16_t right) {
  return UpperAscii(left) == UpperAscii(right);
}

constexpr char16_t CodeOf(char16_t unit) { return unit; }
constexpr char16_t CodeOf(char byte) { return static_cast<unsigned char>(byte); }

// Whether a run of the name equals a run of mask characters of the same length.
template <class Unit>
bool SameRun(std::basic_string_view<Unit> name, std::u16string_view maskRun) {
  return std::equal(maskRun.begin(), maskRun.end(), name.begin(), [](char16_t mask, Unit unit) {
    return SameIgnoringAsciiCase(mask, CodeOf(unit));
  });
}

// Where a run of mask characters first occurs in the name, or npos.
template <class Unit>
std::size_t FindRun(std::basic_string_view<Unit> name, std::u16string_view maskRun) {
  for (std::size_t at = 0; at + maskRun.size() <= name.size(); ++at) {
    if (SameRun(name.substr(at), maskRun)) return at;
  }
  return std::u16string_view::npos;
}

// The part before the first "*" must begin the name and the part after the last "*" must end it;
// the runs between the stars must follow in order in what lies between, where taking each at its
// first occurrence leaves the most room for the rest.
template <class Unit>
bool MatchesMaskIn(std::basic_string_view<Unit> name, std::u16string_view mask) {
  const std::size_t firstStar = mask.find(u'*');
  if (firstStar == std::u16string_view::npos) {
    return name.size() == mask.size() && SameRun(name, mask);
  }
  const std::size_t lastStar = mask.rfind(u'*');
  const std::u16string_view head = mask.substr(0, firstStar);
  const std::u16string_view tail = mask.substr(lastStar + 1);
  if (name.size() < head.size() + tail.size() || !SameRun(name, head) ||
      !SameRun(name.substr(name.size() - tail.size()), tail)) {
    return false;
  }
  name = name.substr(head.size(), name.size() - head.size() - tail.size());
  std::u16string_view between = mask.substr(firstStar, lastStar - firstStar);
  while (!between.empty()) {
    between.remove_prefix(1);
    const std::u16string_view run = between.substr(0, between.find(u'*'));
    const std::size_t found = FindRun(name, run);
    if (found == std::u16string_view::npos) return false;
    name.remove_prefix(found + run.size());
    between.remove_prefix(run.size());
  }
  return true;
}

void AppendUnitKey(char16_t unit, std::string& keys) {
  if (unit < 0x80) {
    keys.push_back(static_cast<char>(unit));
  } else if (unit < 0x800) {
    keys.push_back(static_cast<char>(0xC0 | (unit >> 6)));
    keys.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
  } else {
    keys.push_back(static_cast<char>(0xE0 | (unit >> 12)));
    keys.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
    keys.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
  }
}

bool IsSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

}  // namespace

bool EqualIgnoringAsciiCase(std::u16string_view left, std::u16string_view right) {
  return std::equal(left.begin(), left.end(), right.begin(), right.end(), SameIgnoringAsciiCase);
}

std::vector<std::u16string> SplitPattern(std::u16string_view pattern) {
  std::vector<std::u16string> masks;
  for (std::size_t start = 0;;) {
    const std::size_t space = pattern.find(u' ', start);
    masks.emplace_back(pattern.substr(start, space - start));
    if (space == std::u16string_view::npos) return masks;
    start = space + 1;
  }
}

bool MatchesMask(std::u16string_view name, std::u16string_view mask) {
  return MatchesMaskIn(name, mask);
}

bool MatchesMask(std::string_view nameBytes, std::u16string_view mask) {
  return MatchesMaskIn(nameBytes, mask);
}

bool NameLess(std::u16string_view left, std::u16string_view right) {
  return std::lexicographical_compare(
      left.begin(), left.end(), right.begin(), right.end(),
      [](char16_t a, char16_t b) { return UpperAscii(a) < UpperAscii(b); });
}

void AppendNameKey(std::u16string_view name, std::string& keys) {
  for (const char16_t unit : name) AppendUnitKey(unit, keys);
}

void AppendNameKey(std::string_view nameBytes, std::string& keys) {
  AppendNameKey(DecodeLossless(nameBytes), keys);
}

bool IsOwnNameKey(std::string_view nameBytes) {
  if (std::all_of(nameBytes.begin(), nameBytes.end(),
                  [](char byte) { return static_cast<unsigned char>(byte) < 0x80; })) {
    return true;
  }
  const std::u16string name = DecodeLossless(nameBytes);
  return std::none_of(name.begin(), name.end(), IsSurrogate);
}

}  // namespace core
