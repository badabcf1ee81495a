#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace core {

inline constexpr std::u16string_view kErrorBoxCaption = u"エラー";
inline constexpr std::u16string_view kFatalBoxCaption = u"アプリケーションエラー";

inline constexpr std::u16string_view kPathTooLong = u"指定されたパスが長すぎます";
inline constexpr std::u16string_view kPathFormatNotSupported =
    u"パスの形式がサポートされていません";
inline constexpr std::u16string_view kInvalidPathCharacters = u"パスに無効な文字が含まれています";
inline constexpr std::u16string_view kPathNotFound = u"指定されたパスが見つかりません";

// The event-loop error box's text: "." is appended when the last character's code is above that
// of "." (so a message ending in ")" gains nothing, one ending in a letter gains ".").
std::u16string ErrorBoxText(std::u16string_view message);

// The fatal start-up box's text: two CRLF-ended lines, the failure's kind, module and code
// address, then its message with "." appended unless it is empty or already ends in ".".
std::u16string FatalBoxText(std::u16string_view kindName, std::u16string_view moduleName,
                            std::uintptr_t codeAddress, std::u16string_view message);

// A platform's text for an error code without its trailing blanks, control characters and periods.
std::u16string TrimPlatformMessage(std::u16string_view text);

}  // namespace core
