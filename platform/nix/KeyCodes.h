#pragma once

class QKeyEvent;

// A Qt key event as the window's key handlers see it: the system's number of the key and the
// state of Shift, Ctrl and Alt.
namespace platform {

// The key's number (letters and digits as their upper-case characters, F1 = 112, Enter = 13,
// Esc = 27, ...), or 0 for a key the handlers never look at.
int keyCodeOf(const QKeyEvent& event);

// Shift 1, Ctrl 2, Alt 4, added together.
int shiftStateOf(const QKeyEvent& event);

} // namespace platform
