#include <QApplication>

#include <gtest/gtest.h>

#include "support/PrivateDisplay.h"
#include "ui/page/PageScheme.h"

int main(int argc, char** argv) {
  RunOnPrivateDisplay(argv);
  testing::InitGoogleTest(&argc, argv);
  AddEngineSwitches();
  RegisterPageScheme();
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
