#include <unistd.h>
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "ui/PageScheme.h"

namespace {

// The tests click and type, so they run on an X server of their own, never on the user's screen:
// unless this run already has one, it starts itself again through the private display script.
void RunOnPrivateDisplay(char** argv) {
  if (std::getenv("VELLUMINE_PRIVATE_DISPLAY") != nullptr) return;
  std::vector<char*> command = {const_cast<char*>(VELLUMINE_PRIVATE_DISPLAY_SCRIPT)};
  for (char** argument = argv; *argument != nullptr; ++argument) command.push_back(*argument);
  command.push_back(nullptr);
  execv(command.front(), command.data());
  std::perror(VELLUMINE_PRIVATE_DISPLAY_SCRIPT);
  std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  RunOnPrivateDisplay(argv);
  testing::InitGoogleTest(&argc, argv);
  RegisterPageScheme();
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
