#pragma once

#include <exception>
#include <utility>

// Qt does not carry C++ exceptions through its event loop, so every handler is called through
// Guarded: a failure that unwinds out of the handler is shown in the error box and the program
// carries on. Handlers themselves catch nothing.
void ShowErrorBox(const std::exception_ptr& failure);

template <class Handler>
auto Guarded(Handler handler) {
  return [handler = std::move(handler)](auto&&...) {
    try {
      handler();
    } catch (...) {
      ShowErrorBox(std::current_exception());
    }
  };
}
