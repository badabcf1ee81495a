#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

// Tests that use an X server run on one of their own, never on the user's screen: unless this run
// already has one, the test program starts itself again through the private display script
// (support/private_display.sh, whose path the build gives as VELLUMINE_PRIVATE_DISPLAY_SCRIPT).
inline void RunOnPrivateDisplay(char** argv) {
  if (std::getenv("VELLUMINE_PRIVATE_DISPLAY") != nullptr) return;
  std::vector<char*> command = {const_cast<char*>(VELLUMINE_PRIVATE_DISPLAY_SCRIPT)};
  for (char** argument = argv; *argument != nullptr; ++argument) command.push_back(*argument);
  command.push_back(nullptr);
  execv(command.front(), command.data());
  std::perror(VELLUMINE_PRIVATE_DISPLAY_SCRIPT);
  std::exit(1);
}
