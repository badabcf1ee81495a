#include <gtest/gtest.h>

#include "support/PrivateDisplay.h"

// The probe starts QApplication on the display this run has.
int main(int argc, char** argv) {
  RunOnPrivateDisplay(argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
