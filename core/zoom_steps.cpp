#include "core/zoom_steps.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace core {

namespace {

constexpr std::array kZoomSteps = {0.25, 0.33, 0.5,  0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                                   1.25, 1.5,  1.75, 2.0,  2.5,  3.0, 4.0, 5.0};

// Factors this close count as equal: the engine hands a factor back through a zoom level, which
// rounds it slightly.
constexpr double kSameFactor = 0.001;

}  // namespace

double ZoomedIn(double factor) {
  const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), factor + kSameFactor);
  return next == kZoomSteps.end() ? kZoomSteps.back() : *next;
}

double ZoomedOut(double factor) {
  const auto next = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), factor - kSameFactor);
  return next == kZoomSteps.begin() ? kZoomSteps.front() : *std::prev(next);
}

}  // namespace core
