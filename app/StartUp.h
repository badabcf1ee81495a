#pragma once

#include <string>
#include <vector>

// Creates the main window from the arguments, shows it and runs the event loop. Returns 0 once the
// window has closed, or 1 after a start-up failure has been reported in the fatal box.
int RunApplication(const std::vector<std::u16string>& arguments);
