#pragma once

#include "platform/Window.h"
#include "platform/win/Win32.h"

// The system's handles behind a window of the Win32 front end, for what must speak to the
// windows as the system does: the tests, which drive them with the messages of a user's input.
namespace platform::win {

HWND rootWindow(const NativeWindow& window);
// Nothing for the rows without a window of their own: lines, menus and menu entries.
HWND controlWindow(const NativeWindow& window, int control);

} // namespace platform::win
