#pragma once

#include <future>

#include "core/command_line.h"
#include "core/folder_listing.h"

// Answers --help or --version on standard output before any window or browser engine exists.
// Returns the exit status: 0, or 1 when standard output did not take the answer.
int AnswerRequest(core::Request request);

// Creates the main window with the listing of the first argument's folder (started by
// StartListingFirstArgument), shows it and runs the event loop. Returns 0 once the window has
// closed, or 1 after a start-up failure has been reported in the fatal box.
int RunApplication(std::future<core::ArgumentFolder> firstArgument);

// Makes sure the process ends with status 0 shortly after the event loop has ended, even when a
// thread of the browser engine would hold up the normal shutdown. Needs the application object.
void EndProcessSoonAfterTheEventLoop();
