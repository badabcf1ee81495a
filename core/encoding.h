#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace core {

// File names on POSIX are arbitrary bytes. They are decoded as UTF-8 where they are valid; every
// byte that is not part of a valid sequence becomes a lone surrogate U+DC80..U+DCFF, which no valid
// UTF-8 text can produce. Encoding reverses that exactly, so a name survives the round trip.
std::u16string DecodeLossless(std::string_view bytes);
// The same into a buffer the caller reuses, so that decoding many names allocates once.
void DecodeLosslessInto(std::string_view bytes, std::u16string& out);
std::string EncodeLossless(std::u16string_view text);

// File names on Windows are UTF-16 and may hold unpaired surrogates. WTF-8 writes each code unit
// as UTF-8 does, a lone surrogate in three bytes of its own and a pair in four, so every UTF-16
// text has exactly one form. Decoding refuses anything else (invalid UTF-8, a pair written as two
// lone surrogates).
std::string EncodeWtf8(std::u16string_view text);
std::optional<std::u16string> DecodeWtf8(std::string_view bytes);

// The text a person should see: escaped bytes and other lone surrogates become U+FFFD.
std::u16string ReadableText(std::u16string_view text);

// Whether a stream of bytes, fed in pieces of any size, is valid UTF-8 as a whole (the rule that
// DecodeLossless decodes by: no overlong forms, surrogates or values above U+10FFFF). A sequence
// may be split between two pieces; one left unfinished at the end makes the stream invalid.
class Utf8Check {
 public:
  void Feed(std::string_view bytes);
  bool Valid() const { return !invalid_ && pending_.empty(); }
  // Whether the bytes so far can no longer be valid, whatever follows.
  bool Broken() const { return invalid_; }

 private:
  std::string pending_;  // the start of a sequence that the next piece completes
  bool invalid_ = false;
};

}  // namespace core
