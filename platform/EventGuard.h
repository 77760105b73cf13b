#pragma once

#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"

#include <new>
#include <utility>

namespace platform {

// The one boundary where run-time errors stop: an event handler's error is shown in the
// run-time error message and the program goes on, with whatever the handler did kept.
template <class F> void guarded(F&& body) noexcept {
    try {
        std::forward<F>(body)();
    } catch (const RuntimeError& error) {
        showRuntimeError(error);
    } catch (const std::bad_alloc&) {
        showRuntimeError(RuntimeError::of(RuntimeError::OutOfMemory));
    }
}

// A slot that runs a window's handler through the guard.
template <class Window> auto handler(Window* window, void (Window::*method)()) {
    return [window, method] { guarded([&] { (window->*method)(); }); };
}

} // namespace platform
