// Zooming in or out from any factor answers as a plain scan of the browser steps.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/zoom_steps.h"

namespace {

constexpr std::array<double, 17> kSteps = {0.25, 0.33, 0.5,  0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                                           1.25, 1.5,  1.75, 2.0,  2.5,  3.0, 4.0, 5.0};

double ReferenceIn(double factor) {
  for (const double step : kSteps) {
    if (step > factor + 0.001) return step;
  }
  return kSteps.back();
}

double ReferenceOut(double factor) {
  for (auto step = kSteps.rbegin(); step != kSteps.rend(); ++step) {
    if (*step < factor - 0.001) return *step;
  }
  return kSteps.front();
}

}  // namespace

// The input's first eight bytes are the factor.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  double factor = 0;
  std::memcpy(&factor, data, std::min(size, sizeof factor));
  if (std::isnan(factor)) return 0;
  if (core::ZoomedIn(factor) != ReferenceIn(factor)) std::abort();
  if (core::ZoomedOut(factor) != ReferenceOut(factor)) std::abort();
  return 0;
}
