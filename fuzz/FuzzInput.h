#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The fuzzer's bytes read as the inputs of core's rules.
namespace fuzz_input {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// UTF-16 code units, two bytes each (little-endian); an odd last byte is dropped.
inline std::u16string CodeUnits(std::string_view bytes) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return units;
}

// The pieces of `text` between the `separator`s.
template <class Char>
std::vector<std::basic_string<Char>> Split(std::basic_string_view<Char> text, Char separator) {
  std::vector<std::basic_string<Char>> pieces;
  std::size_t start = 0;
  for (std::size_t end = text.find(separator); end != text.npos;
       end = text.find(separator, start)) {
    pieces.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  pieces.emplace_back(text.substr(start));
  return pieces;
}

}  // namespace fuzz_input
