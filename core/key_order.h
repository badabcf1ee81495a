#pragma once

#include <cstdint>
#include <vector>

namespace core {

// A sort key and the index of what it belongs to.
struct SortKey {
  const char* bytes;
  std::uint32_t length;
  std::uint32_t owner;
  std::uint64_t chunk;  // working space of the sort
};

// Sorts keys by their bytes compared as unsigned values with a-z read as A-Z, a key before every
// key it is a prefix of. Keys equal under that reading keep no particular order.
void SortNameKeys(std::vector<SortKey>& keys);

}  // namespace core
