#include <QApplication>

#include <gtest/gtest.h>

#include "ui/PageScheme.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  RegisterPageScheme();
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
