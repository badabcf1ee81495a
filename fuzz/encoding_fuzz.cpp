// Lossless decoding gives back every byte string; WTF-8 gives back every UTF-16 text, and only
// the one form it writes decodes; a UTF-8 check fed the bytes in two pieces agrees with decoding.
#include <cstdlib>

#include "core/encoding.h"
#include "fuzz/FuzzInput.h"

namespace {

// Decoding escapes every byte that is not part of valid UTF-8 as a lone U+DC80..U+DCFF (the low
// half of a surrogate pair may have the same value).
bool DecodesWithoutEscapes(std::string_view bytes) {
  const std::u16string decoded = core::DecodeLossless(bytes);
  for (std::size_t i = 0; i < decoded.size(); ++i) {
    const bool pairsHigh = i > 0 && decoded[i - 1] >= 0xD800 && decoded[i - 1] <= 0xDBFF;
    if (decoded[i] >= 0xDC80 && decoded[i] <= 0xDCFF && !pairsHigh) return false;
  }
  return true;
}

// The first byte says where the rest is split.
void CheckUtf8InTwoPieces(std::string_view bytes) {
  if (bytes.empty()) return;
  const std::string_view rest = bytes.substr(1);
  const std::size_t split = static_cast<unsigned char>(bytes[0]) % (rest.size() + 1);
  core::Utf8Check check;
  check.Feed(rest.substr(0, split));
  check.Feed(rest.substr(split));
  if (check.Valid() != DecodesWithoutEscapes(rest)) std::abort();
  if (check.Broken() && check.Valid()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz_input::Bytes(data, size);
  if (core::EncodeLossless(core::DecodeLossless(bytes)) != bytes) std::abort();

  const std::u16string text = fuzz_input::CodeUnits(bytes);
  if (core::DecodeWtf8(core::EncodeWtf8(text)) != text) std::abort();
  const std::optional<std::u16string> decoded = core::DecodeWtf8(bytes);
  if (decoded && core::EncodeWtf8(*decoded) != bytes) std::abort();

  CheckUtf8InTwoPieces(bytes);
  return 0;
}
