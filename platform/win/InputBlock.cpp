// Input made while the program was busy, dropped: the keys and the clicks in the windows' client
// areas taken out of the queue unhandled. A click on a frame's close box stays, a close request
// as the window system makes one elsewhere.
#include "platform/Application.h"

#include "platform/win/Win32.h"

namespace platform {

namespace {
int depth = 0;

void drop(UINT first, UINT last) {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, first, last, PM_REMOVE | PM_NOYIELD)) {
    }
}
} // namespace

InputBlock::InputBlock() {
    ++depth;
}

InputBlock::~InputBlock() {
    if (--depth > 0)
        return;
    drop(WM_KEYFIRST, WM_KEYLAST);
    drop(WM_MOUSEFIRST, WM_MOUSELAST);
}

} // namespace platform
