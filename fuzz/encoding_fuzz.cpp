// Lossless decoding gives back every byte string; WTF-8 gives back every UTF-16 text, and only
// the one form it writes decodes.
#include <cstdlib>

#include "core/encoding.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz_input::Bytes(data, size);
  if (core::EncodeLossless(core::DecodeLossless(bytes)) != bytes) std::abort();

  const std::u16string text = fuzz_input::CodeUnits(bytes);
  if (core::DecodeWtf8(core::EncodeWtf8(text)) != text) std::abort();
  const std::optional<std::u16string> decoded = core::DecodeWtf8(bytes);
  if (decoded && core::EncodeWtf8(*decoded) != bytes) std::abort();
  return 0;
}
