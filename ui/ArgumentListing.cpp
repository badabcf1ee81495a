#include "ui/ArgumentListing.h"

#include "platform/platform.h"

std::future<core::ArgumentFolder> StartListingFirstArgument(
    const std::vector<std::u16string>& arguments) {
  if (arguments.empty()) return {};
  return std::async(std::launch::async, [argument = arguments.front()] {
    return core::ListArgumentFolder(platform::FileSystem(), argument);
  });
}
