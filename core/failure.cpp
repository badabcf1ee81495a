#include "core/failure.h"

#include <memory>
#include <typeinfo>

#include "core/encoding.h"

#if __has_include(<cxxabi.h>)
#include <cxxabi.h>
#endif

#if defined(_MSC_VER)
#include <intrin.h>
#define VELLUMINE_NOINLINE __declspec(noinline)
#define VELLUMINE_RETURN_ADDRESS() _ReturnAddress()
#else
#define VELLUMINE_NOINLINE __attribute__((noinline))
#define VELLUMINE_RETURN_ADDRESS() __builtin_return_address(0)
#endif

namespace core {
namespace {

std::string ReadableTypeName(const std::type_info& type) {
#if __has_include(<cxxabi.h>)
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(
      abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
  if (status == 0 && demangled) return demangled.get();
#endif
  return type.name();
}

std::u16string OwnMessage(const std::exception& failure) {
  if (const auto* own = dynamic_cast<const Failure*>(&failure)) return own->Message();
  return DecodeLossless(failure.what());
}

struct Link {
  std::u16string message;
  std::exception_ptr nested;
};

Link MessageAndNested(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& error) {
    const auto* chain = dynamic_cast<const std::nested_exception*>(&error);
    return {OwnMessage(error), chain ? chain->nested_ptr() : nullptr};
  } catch (...) {
    return {};
  }
}

}  // namespace

Failure::Failure(std::string kindName, std::u16string message, const void* site)
    : kindName_(std::move(kindName)),
      message_(std::move(message)),
      utf8Message_(EncodeLossless(message_)),
      site_(site) {}

const char* Failure::what() const noexcept { return utf8Message_.c_str(); }

VELLUMINE_NOINLINE void RaiseFailure(std::string kindName, std::u16string message) {
  throw Failure(std::move(kindName), std::move(message), VELLUMINE_RETURN_ADDRESS());
}

FailureReport DescribeFailure(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const Failure& own) {
    return {own.KindName(), own.Message(), own.Site()};
  } catch (const std::exception& other) {
    return {ReadableTypeName(typeid(other)), OwnMessage(other), nullptr};
  } catch (...) {
    return {"unknown exception", {}, nullptr};
  }
}

std::u16string InnermostMessage(const std::exception_ptr& failure) {
  std::u16string outer;
  std::u16string innermost;
  bool isOuter = true;
  for (std::exception_ptr current = failure; current; isOuter = false) {
    auto [message, nested] = MessageAndNested(current);
    (isOuter ? outer : innermost) = std::move(message);
    current = nested;
  }
  return innermost.empty() ? outer : innermost;
}

}  // namespace core
