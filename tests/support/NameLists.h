#pragma once

#include <string>
#include <vector>

#include "core/name_list.h"

// Every name of a list, in its order.
inline std::vector<std::u16string> AllNames(const core::NameList& list) {
  std::vector<std::u16string> names;
  for (std::size_t index = 0; index < list.Size(); ++index) names.push_back(list.Name(index));
  return names;
}
