#include "core/zoom_steps.h"

#include <gtest/gtest.h>

namespace {

struct ZoomCase {
  const char* label;
  double factor;
  double in;
  double out;
};

class ZoomSteps : public testing::TestWithParam<ZoomCase> {};

TEST_P(ZoomSteps, MoveToTheNextBrowserStep) {
  EXPECT_DOUBLE_EQ(core::ZoomedIn(GetParam().factor), GetParam().in);
  EXPECT_DOUBLE_EQ(core::ZoomedOut(GetParam().factor), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZoomSteps,
    testing::Values(ZoomCase{"Natural", 1.0, 1.1, 0.9}, ZoomCase{"Smallest", 0.25, 0.33, 0.25},
                    ZoomCase{"Largest", 5.0, 5.0, 4.0}, ZoomCase{"OddThird", 0.33, 0.5, 0.25},
                    // The engine hands a step back rounded through its zoom level.
                    ZoomCase{"RoundedAbove", 1.2500001, 1.5, 1.1},
                    ZoomCase{"RoundedBelow", 1.2499999, 1.5, 1.1},
                    ZoomCase{"BetweenSteps", 1.2, 1.25, 1.1},
                    ZoomCase{"BelowTheRange", 0.1, 0.25, 0.25},
                    ZoomCase{"AboveTheRange", 9.0, 5.0, 5.0}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ZoomSteps, InThenOutReturnsToEveryStep) {
  for (double factor = 0.25; factor < 5.0; factor = core::ZoomedIn(factor)) {
    EXPECT_DOUBLE_EQ(core::ZoomedOut(core::ZoomedIn(factor)), factor);
  }
}

}  // namespace
