#include "core/names.h"

#include <algorithm>

namespace core {
namespace {

constexpr char16_t UpperAscii(char16_t unit) {
  return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
}

bool SameIgnoringAsciiCase(char16_t left, char16_t right) {
  return UpperAscii(left) == UpperAscii(right);
}

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

// Greedy wildcard matching with backtracking to the most recent "*": linear for masks with one
// "*", and never worse than name length times mask length.
bool MatchesMask(std::u16string_view name, std::u16string_view mask) {
  std::size_t n = 0, m = 0;
  std::size_t starMask = std::u16string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == u'*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && SameIgnoringAsciiCase(mask[m], name[n])) {
      ++m, ++n;
    } else if (starMask != std::u16string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == u'*') ++m;
  return m == mask.size();
}

bool NameLess(std::u16string_view left, std::u16string_view right) {
  return std::lexicographical_compare(
      left.begin(), left.end(), right.begin(), right.end(),
      [](char16_t a, char16_t b) { return UpperAscii(a) < UpperAscii(b); });
}

void SortByName(std::vector<std::u16string>& names) {
  std::sort(names.begin(), names.end(),
            [](const std::u16string& a, const std::u16string& b) { return NameLess(a, b); });
}

}  // namespace core
