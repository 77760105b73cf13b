#pragma once

#include "platform/win/Win32.h"

// The program's message handling, shared by the event loop and the tests that drive the windows
// through it as the user's input would.
namespace platform::win {

// Handles one message as the event loop does: first the key preview of the window it is for
// (key down with its shift state, characters), then the dialog keys (Tab, Enter, Esc, access
// keys), then translation and the window procedure.
void processMessage(MSG& msg);

// Handles every message waiting in the queue, then returns; false when WM_QUIT came.
bool processPendingMessages();

} // namespace platform::win
