// The message loop's handling of one message: the window's key preview first, then the dialog
// keys, then the window procedures. The program's event loop (Application.cpp) and the tests
// that drive the windows as a user's input would both go through here.
#include "platform/win/MessageLoop.h"

#include "platform/win/WinWindow.h"

namespace platform::win {

namespace {

// Shift 1, Ctrl 2, Alt 4, as the window's key handlers take them.
int shiftState() {
    return (::GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (::GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (::GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

} // namespace

void processMessage(MSG& msg) {
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    WinWindow* window = WinWindow::fromRoot(root);
    if (window && window->keyPreview()) {
        const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
        if (keyDown || msg.message == WM_CHAR) {
            const int shift = keyDown ? shiftState() : 0;
            window->raise({keyDown ? Event::KeyDown : Event::KeyPress, -1, int(msg.wParam), shift});
            // The handler may have taken the window down: then the key went with it.
            if (!::IsWindow(msg.hwnd) || !(window = WinWindow::fromRoot(root)))
                return;
            // Ctrl+Tab is the key that changes tabs, and no focus move besides.
            if (keyDown && msg.wParam == VK_TAB && (shift & 2))
                return;
        }
    }
    if (window && window->dialogKeys() && ::IsDialogMessageW(root, &msg))
        return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

bool processPendingMessages() {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            return false;
        processMessage(msg);
    }
    return true;
}

} // namespace platform::win
