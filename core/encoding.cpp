#include "core/encoding.h"

#include <cstdint>
#include <cstring>

namespace core {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;
constexpr char16_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Whether surrogate code points written in three bytes count as valid: WTF-8 allows them, UTF-8
// does not.
enum class Surrogates { Invalid, Allowed };

// The length of the sequence a lead byte starts, or 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

// Length of the valid UTF-8 sequence at the start of `bytes` and its code point, or 0 when the
// sequence is invalid (overlong forms, surrogates unless allowed and values above U+10FFFF are
// invalid).
std::size_t ValidSequence(std::string_view bytes, char32_t& codePoint,
                          Surrogates surrogates = Surrogates::Invalid) {
  const auto lead = static_cast<unsigned char>(bytes[0]);
  const std::size_t length = SequenceLength(lead);
  if (length == 0) return 0;
  if (length == 1) {
    codePoint = lead;
    return 1;
  }
  // The lead byte's own bits, and the least code point a sequence this long may write.
  codePoint = lead & (0x7F >> length);
  const char32_t minimum = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
  if (bytes.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (!IsContinuation(byte)) return 0;
    codePoint = (codePoint << 6) | (byte & 0x3F);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (codePoint < minimum || codePoint > 0x10FFFF) return 0;
  if (surrogate && surrogates == Surrogates::Invalid) return 0;
  return length;
}

void AppendCodePoint(std::u16string& out, char32_t codePoint) {
  if (codePoint < 0x10000) {
    out.push_back(static_cast<char16_t>(codePoint));
  } else {
    codePoint -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
  }
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

// The length of the longest start of `bytes` made of whole valid sequences; plain ASCII is taken
// eight bytes at a time.
std::size_t ValidUtf8Length(std::string_view bytes) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::uint64_t word = 0;
    if (bytes.size() - at >= sizeof word) {
      std::memcpy(&word, bytes.data() + at, sizeof word);
      if ((word & 0x8080808080808080ULL) == 0) {
        at += sizeof word;
        continue;
      }
    }
    char32_t codePoint = 0;
    const std::size_t length = ValidSequence(bytes.substr(at), codePoint);
    if (length == 0) break;
    at += length;
  }
  return at;
}

// Whether `bytes` may be the unfinished start of a sequence: a lead byte of a longer sequence, then
// only continuation bytes. Whether it is valid is known once it is complete.
bool MayStartSequence(std::string_view bytes) {
  if (bytes.empty() || bytes.size() >= SequenceLength(static_cast<unsigned char>(bytes[0]))) {
    return false;
  }
  for (const char byte : bytes.substr(1)) {
    if (!IsContinuation(static_cast<unsigned char>(byte))) return false;
  }
  return true;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The character a surrogate pair stands for.
char32_t PairCodePoint(char16_t high, char16_t low) {
  return 0x10000 + (static_cast<char32_t>(high - 0xD800) << 10) +
         static_cast<char32_t>(low - 0xDC00);
}

// UTF-8 for every surrogate pair; every other code unit is written by `writeUnit`.
template <class UnitWriter>
std::string EncodeCodeUnits(std::u16string_view text, UnitWriter writeUnit) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      AppendUtf8(out, PairCodePoint(unit, text[i + 1]));
      ++i;
    } else {
      writeUnit(out, unit);
    }
  }
  return out;
}

}  // namespace

std::u16string DecodeLossless(std::string_view bytes) {
  std::u16string out;
  DecodeLosslessInto(bytes, out);
  return out;
}

void DecodeLosslessInto(std::string_view bytes, std::u16string& out) {
  out.clear();
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    char32_t codePoint = 0;
    std::size_t length = ValidSequence(bytes, codePoint);
    if (length == 0) {
      out.push_back(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[0])));
      length = 1;
    } else {
      AppendCodePoint(out, codePoint);
    }
    bytes.remove_prefix(length);
  }
}

std::string EncodeLossless(std::u16string_view text) {
  return EncodeCodeUnits(text, [](std::string& out, char16_t unit) {
    if (unit >= 0xDC80 && unit <= 0xDCFF) {
      out.push_back(static_cast<char>(unit - kEscapeBase));
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, unit);
    }
  });
}

std::string EncodeWtf8(std::u16string_view text) {
  return EncodeCodeUnits(text, [](std::string& out, char16_t unit) { AppendUtf8(out, unit); });
}

std::optional<std::u16string> DecodeWtf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  bool afterLoneHigh = false;
  while (!bytes.empty()) {
    char32_t codePoint = 0;
    const std::size_t length = ValidSequence(bytes, codePoint, Surrogates::Allowed);
    // A pair written as two lone surrogates has its own four-byte form.
    if (length == 0 || (afterLoneHigh && codePoint >= 0xDC00 && codePoint <= 0xDFFF)) {
      return std::nullopt;
    }
    afterLoneHigh = codePoint >= 0xD800 && codePoint <= 0xDBFF;
    AppendCodePoint(out, codePoint);
    bytes.remove_prefix(length);
  }
  return out;
}

std::u16string ReadableText(std::u16string_view text) {
  std::u16string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (IsHighSurrogate(out[i]) && i + 1 < out.size() && IsLowSurrogate(out[i + 1])) {
      ++i;
    } else if (IsHighSurrogate(out[i]) || IsLowSurrogate(out[i])) {
      out[i] = kReplacement;
    }
  }
  return out;
}

void Utf8Check::Feed(std::string_view bytes) {
  while (!invalid_ && !pending_.empty() && !bytes.empty()) {
    pending_.push_back(bytes.front());
    bytes.remove_prefix(1);
    char32_t codePoint = 0;
    if (ValidSequence(pending_, codePoint) == pending_.size()) {
      pending_.clear();
    } else if (!MayStartSequence(pending_)) {
      invalid_ = true;
    }
  }
  if (invalid_ || bytes.empty()) return;
  const std::string_view rest = bytes.substr(ValidUtf8Length(bytes));
  if (rest.empty()) return;
  if (MayStartSequence(rest)) {
    pending_ = rest;
  } else {
    invalid_ = true;
  }
}

}  // namespace core
