#include "core/key_order.h"

#include <algorithm>
#include <cstddef>

namespace core {
namespace {

// Keys are sorted eight bytes at a time, as big-endian integers held beside the key's index, so
// that most comparisons touch no key at all; only keys that tie on those bytes go on to the next
// eight (a most-significant-digit radix sort whose digits are sorted by comparison).
constexpr std::size_t kChunkBytes = 8;
// Ranges this short are sorted by comparing the rest of their keys directly.
constexpr std::ptrdiff_t kShortRange = 16;

struct Entry {
  std::uint64_t chunk;  // the key's bytes [depth, depth + 8), zeros past its end
  std::uint32_t index;
  std::uint32_t length;
};

class KeySorter {
 public:
  KeySorter(std::string_view keys, const std::vector<std::uint32_t>& ends)
      : keys_(keys), ends_(ends) {}

  // Sorts entries whose keys all share their first `depth` bytes.
  void Sort(Entry* first, Entry* last, std::size_t depth) const {
    while (last - first > 1) {
      if (last - first <= kShortRange) {
        std::sort(first, last, [this, depth](const Entry& a, const Entry& b) {
          return Key(a.index).substr(depth) < Key(b.index).substr(depth);
        });
        return;
      }
      for (Entry* entry = first; entry != last; ++entry) entry->chunk = Chunk(entry->index, depth);
      const std::size_t limit = depth + kChunkBytes;
      // Equal chunks: the key that ends within them first (only keys holding zero bytes can tie
      // on the chunk and differ in where they end).
      const auto rank = [limit](const Entry& entry) {
        return std::min<std::size_t>(entry.length, limit);
      };
      const auto less = [&rank](const Entry& a, const Entry& b) {
        return a.chunk != b.chunk ? a.chunk < b.chunk : rank(a) < rank(b);
      };
      const auto tied = [&rank](const Entry& a, const Entry& b) {
        return a.chunk == b.chunk && rank(a) == rank(b);
      };
      if (std::all_of(first + 1, last, [&](const Entry& entry) { return tied(*first, entry); })) {
        if (rank(*first) < limit) return;  // equal keys
        depth = limit;
        continue;
      }
      std::sort(first, last, less);
      for (Entry* run = first; run != last;) {
        Entry* const end =
            std::find_if_not(run + 1, last, [&](const Entry& e) { return tied(*run, e); });
        if (rank(*run) == limit) Sort(run, end, limit);
        run = end;
      }
      return;
    }
  }

 private:
  std::string_view Key(std::uint32_t index) const {
    const std::uint32_t start = index == 0 ? 0 : ends_[index - 1];
    return keys_.substr(start, ends_[index] - start);
  }

  std::uint64_t Chunk(std::uint32_t index, std::size_t depth) const {
    const std::string_view key = Key(index);
    const std::size_t available = key.size() - depth;  // no key here is shorter than `depth`
    const char* const bytes = key.data() + depth;
    std::uint64_t chunk = 0;
    if (available >= kChunkBytes) {
      for (std::size_t i = 0; i < kChunkBytes; ++i) {
        chunk = chunk << 8 | static_cast<unsigned char>(bytes[i]);
      }
      return chunk;
    }
    for (std::size_t i = 0; i < kChunkBytes; ++i) {
      chunk = chunk << 8 | (i < available ? static_cast<unsigned char>(bytes[i]) : 0u);
    }
    return chunk;
  }

  std::string_view keys_;
  const std::vector<std::uint32_t>& ends_;
};

}  // namespace

std::vector<std::uint32_t> SortedKeyOrder(std::string_view keys,
                                          const std::vector<std::uint32_t>& ends) {
  std::vector<Entry> entries(ends.size());
  for (std::uint32_t index = 0; index < entries.size(); ++index) {
    const std::uint32_t start = index == 0 ? 0 : ends[index - 1];
    entries[index] = {0, index, ends[index] - start};
  }
  KeySorter(keys, ends).Sort(entries.data(), entries.data() + entries.size(), 0);
  std::vector<std::uint32_t> order(entries.size());
  std::transform(entries.begin(), entries.end(), order.begin(),
                 [](const Entry& entry) { return entry.index; });
  return order;
}

}  // namespace core
