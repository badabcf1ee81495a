#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace core {

// A failure raised by the program itself: a readable kind name, a message, and the code address
// it was raised from (shown by the fatal start-up box).
class Failure : public std::exception {
 public:
  Failure(std::string kindName, std::u16string message, const void* site);
  const char* what() const noexcept override;
  const std::string& KindName() const { return kindName_; }
  const std::u16string& Message() const { return message_; }
  const void* Site() const { return site_; }

 private:
  std::string kindName_;
  std::u16string message_;
  std::string utf8Message_;
  const void* site_;
};

// Throws a Failure that records the caller's code address as its site.
[[noreturn]] void RaiseFailure(std::string kindName, std::u16string message);

struct FailureReport {
  std::string kindName;
  std::u16string message;
  const void* site = nullptr;  // null when the failure did not come from RaiseFailure
};

// What the fatal start-up box reports of a failure: its own kind and message.
FailureReport DescribeFailure(const std::exception_ptr& failure);

// What the event-loop error box reports: the message of the innermost nested failure, or the
// failure's own message when nothing is nested or the innermost one has no message.
std::u16string InnermostMessage(const std::exception_ptr& failure);

}  // namespace core
