#include "core/key_order.h"

#include <algorithm>
#include <cstddef>

namespace core {
namespace {

// Keys are sorted eight bytes at a time, read as a big-endian integer held in the key itself, so
// that most comparisons touch no key bytes at all; only keys that tie on those bytes go on to the
// next eight (a most-significant-digit radix sort whose digits are sorted by comparison).
constexpr std::size_t kChunkBytes = 8;
// Ranges this short are sorted by comparing their keys chunk after chunk directly.
constexpr std::ptrdiff_t kShortRange = 16;

constexpr unsigned char UpperAscii(unsigned char byte) {
  return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

// a-z read as A-Z in all eight bytes at once: a byte below 0x80 whose low seven bits lie in
// 0x61..0x7A loses 0x20. No byte carries into the next.
constexpr std::uint64_t UpperAsciiBytes(std::uint64_t bytes) {
  constexpr std::uint64_t kLowSeven = 0x7F7F7F7F7F7F7F7F;
  constexpr std::uint64_t kHigh = 0x8080808080808080;
  const std::uint64_t low = bytes & kLowSeven;
  const std::uint64_t fromA = low + 0x1F1F1F1F1F1F1F1F;  // high bit: at least 'a'
  const std::uint64_t pastZ = low + 0x0505050505050505;  // high bit: above 'z'
  const std::uint64_t lower = fromA & ~pastZ & ~bytes & kHigh;
  return bytes - (lower >> 2);
}

// The key's bytes [depth, depth + 8) as a big-endian integer, zeros past its end.
std::uint64_t ChunkOf(const SortKey& key, std::size_t depth) {
  const std::size_t available = key.length > depth ? key.length - depth : 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(key.bytes) + depth;
  std::uint64_t chunk = 0;
  if (available >= kChunkBytes) {
    for (std::size_t i = 0; i < kChunkBytes; ++i) chunk = chunk << 8 | bytes[i];
    return UpperAsciiBytes(chunk);
  }
  for (std::size_t i = 0; i < kChunkBytes; ++i) {
    chunk = chunk << 8 | (i < available ? UpperAscii(bytes[i]) : 0u);
  }
  return chunk;
}

// Of keys whose chunks at `depth` are equal, the one that ends within the chunk comes first (only
// keys holding zero bytes can tie on the chunk and differ in where they end).
std::size_t EndRank(const SortKey& key, std::size_t depth) {
  return std::min<std::size_t>(key.length, depth + kChunkBytes);
}

// Whole-key comparison of keys that share their first `depth` bytes.
bool LessFrom(const SortKey& a, const SortKey& b, std::size_t depth) {
  for (;; depth += kChunkBytes) {
    const std::uint64_t chunkA = ChunkOf(a, depth), chunkB = ChunkOf(b, depth);
    if (chunkA != chunkB) return chunkA < chunkB;
    const std::size_t rankA = EndRank(a, depth), rankB = EndRank(b, depth);
    if (rankA != rankB) return rankA < rankB;
    if (rankA < depth + kChunkBytes) return false;  // equal keys
  }
}

// Sorts keys that all share their first `depth` bytes.
void SortFrom(SortKey* first, SortKey* last, std::size_t depth) {
  while (last - first > 1) {
    if (last - first <= kShortRange) {
      std::sort(first, last,
                [depth](const SortKey& a, const SortKey& b) { return LessFrom(a, b, depth); });
      return;
    }
    for (SortKey* key = first; key != last; ++key) key->chunk = ChunkOf(*key, depth);
    const auto tied = [depth](const SortKey& a, const SortKey& b) {
      return a.chunk == b.chunk && EndRank(a, depth) == EndRank(b, depth);
    };
    const std::size_t next = depth + kChunkBytes;
    if (std::all_of(first + 1, last, [&](const SortKey& key) { return tied(*first, key); })) {
      if (EndRank(*first, depth) < next) return;  // equal keys
      depth = next;
      continue;
    }
    std::sort(first, last, [depth](const SortKey& a, const SortKey& b) {
      return a.chunk != b.chunk ? a.chunk < b.chunk : EndRank(a, depth) < EndRank(b, depth);
    });
    for (SortKey* run = first; run != last;) {
      SortKey* const end =
          std::find_if_not(run + 1, last, [&](const SortKey& key) { return tied(*run, key); });
      if (EndRank(*run, depth) == next) SortFrom(run, end, next);
      run = end;
    }
    return;
  }
}

}  // namespace

void SortNameKeys(std::vector<SortKey>& keys) {
  SortFrom(keys.data(), keys.data() + keys.size(), 0);
}

}  // namespace core
