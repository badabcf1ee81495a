#pragma once

#include <future>
#include <string>
#include <vector>

#include "core/folder_listing.h"

// Starts listing the folder the first argument opens on a thread of its own, so that the listing
// runs while the toolkit and the browser engine start. The result holds the listing's failure, if
// any. Without arguments the result is empty (not valid).
std::future<core::ArgumentFolder> StartListingFirstArgument(
    const std::vector<std::u16string>& arguments);
