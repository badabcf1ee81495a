#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace core {

// The masks a folder's files are listed by.
inline constexpr std::u16string_view kHtmlPattern = u"*.html *.htm";

// The masks of a pattern string, split at every " ".
std::vector<std::u16string> SplitPattern(std::u16string_view pattern);

// Whether the whole name matches the whole mask: "*" matches any run of characters; any other
// mask character matches itself, ASCII letters regardless of case.
bool MatchesMask(std::u16string_view name, std::u16string_view mask);

// Whether two texts are equal when ASCII letters are compared regardless of case.
bool EqualIgnoringAsciiCase(std::u16string_view left, std::u16string_view right);

// The list's name order: code unit by code unit after mapping a-z to A-Z, a prefix first.
bool NameLess(std::u16string_view left, std::u16string_view right);
void SortByName(std::vector<std::u16string>& names);

}  // namespace core
