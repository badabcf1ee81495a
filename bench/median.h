#pragma once

#include <algorithm>
#include <vector>

// The middle value of the measurements (the upper one of the middle two for an even count).
inline double MedianOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}
