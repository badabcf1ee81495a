#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace core {

// The order of byte-string keys packed one after another into `keys`, key i ending at ends[i]:
// the key indices in plain byte order (bytes compared as unsigned), a key before every key it is
// a prefix of. Keys that are equal keep no particular order.
std::vector<std::uint32_t> SortedKeyOrder(std::string_view keys,
                                          const std::vector<std::uint32_t>& ends);

}  // namespace core
