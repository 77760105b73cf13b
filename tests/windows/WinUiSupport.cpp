#include "tests/windows/WinUiSupport.h"

#include "platform/win/MessageLoop.h"
#include "platform/win/WideText.h"

namespace wintest {

void RecordingSink::handle(const platform::Event& event) noexcept {
    events.push_back(event);
    if (onEvent)
        onEvent(event);
}

void pump() {
    platform::win::processPendingMessages();
}

void pressKey(WPARAM key, int shift) {
    BYTE state[256]{};
    ::GetKeyboardState(state);
    const BYTE saved[3] = {state[VK_SHIFT], state[VK_CONTROL], state[VK_MENU]};
    state[VK_SHIFT] = shift & 1 ? 0x80 : 0;
    state[VK_CONTROL] = shift & 2 ? 0x80 : 0;
    state[VK_MENU] = shift & 4 ? 0x80 : 0;
    ::SetKeyboardState(state);
    HWND focus = ::GetFocus();
    const UINT down = shift & 4 ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const LPARAM scan = LPARAM(::MapVirtualKeyW(UINT(key), MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(focus, down, key, scan | 1 | (shift & 4 ? 1 << 29 : 0));
    pump();
    if (HWND now = ::GetFocus())
        ::PostMessageW(now, down == WM_KEYDOWN ? WM_KEYUP : WM_SYSKEYUP, key,
                       scan | 1 | (LPARAM(3) << 30));
    pump();
    state[VK_SHIFT] = saved[0];
    state[VK_CONTROL] = saved[1];
    state[VK_MENU] = saved[2];
    ::SetKeyboardState(state);
}

void typeText(const std::wstring& text) {
    for (wchar_t c : text) {
        ::PostMessageW(::GetFocus(), WM_CHAR, c, 1);
        pump();
    }
}

void clickAt(HWND window, POINT point) {
    HWND target = window;
    for (;;) {
        HWND child = ::ChildWindowFromPointEx(target, point, CWP_SKIPINVISIBLE);
        if (!child || child == target)
            break;
        ::MapWindowPoints(target, child, &point, 1);
        target = child;
    }
    POINT screen = point;
    ::ClientToScreen(target, &screen);
    if (::SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) == HTTRANSPARENT) {
        // The system would pass the click on to the window beneath: here, the parent.
        HWND parent = ::GetParent(target);
        ::MapWindowPoints(target, parent, &point, 1);
        target = parent;
    }
    const LPARAM at = MAKELPARAM(point.x, point.y);
    ::PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(target, WM_LBUTTONUP, 0, at);
    pump();
}

namespace {
int logicalPixels(int index) {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, index);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}
} // namespace

int pixelsX(int twips) {
    return ::MulDiv(twips, logicalPixels(LOGPIXELSX), 1440);
}

int pixelsY(int twips) {
    return ::MulDiv(twips, logicalPixels(LOGPIXELSY), 1440);
}

RECT placeInParent(HWND window) {
    RECT place{};
    ::GetWindowRect(window, &place);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

std::string className(HWND window) {
    wchar_t name[64]{};
    ::GetClassNameW(window, name, 64);
    return platform::win::utf8(name);
}

std::string windowText(HWND window) {
    std::wstring text(std::size_t(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(std::size_t(::GetWindowTextW(window, text.data(), int(text.size()))));
    return platform::win::utf8(text);
}

} // namespace wintest
