#pragma once

#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"

#include <exception>
#include <new>
#include <utility>

namespace platform {

// The one boundary where run-time errors stop: an event handler's error is shown in the
// run-time error message and the program goes on, with whatever the handler did kept. Nothing
// passes it, so no exception ever unwinds through the window system's own code.
template <class F> void guarded(F&& body) noexcept {
    try {
        try {
            std::forward<F>(body)();
        } catch (const RuntimeError& error) {
            showRuntimeError(error);
        } catch (const std::bad_alloc&) {
            showRuntimeError(RuntimeError::of(RuntimeError::OutOfMemory));
        } catch (const std::exception& error) {
            showRuntimeError(RuntimeError(RuntimeError::Internal, error.what()));
        } catch (...) {
            showRuntimeError(RuntimeError::of(RuntimeError::Internal));
        }
    } catch (...) {
        // Showing the message failed too; the event is over either way.
    }
}

} // namespace platform
