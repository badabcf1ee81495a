#include "core/error_texts.h"

namespace core {

std::u16string ErrorBoxText(std::u16string_view message) {
  std::u16string text(message);
  if (!text.empty() && text.back() > u'.') text.push_back(u'.');
  return text;
}

std::u16string FatalBoxText(std::u16string_view kindName, std::u16string_view moduleName,
                            std::uintptr_t codeAddress, std::u16string_view message) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string address(2 * sizeof(std::uint64_t), u'0');
  auto value = static_cast<std::uint64_t>(codeAddress);
  for (auto digit = address.rbegin(); digit != address.rend(); ++digit, value >>= 4) {
    *digit = kHex[value & 0x0F];
  }
  std::u16string text;
  text.append(kindName).append(u" がモジュール ").append(moduleName).append(u" の ");
  text.append(address).append(u" で発生しました。\r\n").append(message);
  if (!message.empty() && message.back() != u'.') text.push_back(u'.');
  return text.append(u"\r\n");
}

std::u16string TrimPlatformMessage(std::u16string_view text) {
  while (!text.empty() && (text.back() <= u' ' || text.back() == u'.')) text.remove_suffix(1);
  return std::u16string(text);
}

}  // namespace core
