#pragma once

namespace core {

// Page zoom moves through the steps browsers use, from 25 % to 500 %, as factors of the page's
// natural size. A factor between two steps moves to the next step in the chosen direction; beyond
// either end there is no further step.
inline constexpr double kNaturalZoom = 1.0;

double ZoomedIn(double factor);
double ZoomedOut(double factor);

}  // namespace core
