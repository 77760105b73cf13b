#include "tests/windows/WinUiSupport.h"

#include "platform/win/MessageLoop.h"
#include "platform/win/WideText.h"
#include "platform/win/WindowHandles.h"
#include "tests/support/LayoutCheck.h"
#include "tests/windows/TestHarness.h"

#include <commctrl.h>

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

COLORREF drawnAt(HWND window, POINT point) {
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    RECT client{};
    ::GetClientRect(window, &client);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    HBRUSH background = ::CreateSolidBrush(unpainted);
    ::FillRect(memory, &client, background);
    ::DeleteObject(background);
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    const COLORREF colour = ::GetPixel(memory, point.x, point.y);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return colour;
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

namespace {

using platform::ControlKind;
using testsupport::Caption;
using testsupport::Extent;
using testsupport::Pixels;
using testsupport::Point;

Pixels pixels(const RECT& r) {
    return {int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top)};
}

RECT clientRect(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return client;
}

// A text's extent in a window's font, as DrawText lays it out with the flags given (and within
// the width given, for a text that wraps).
Extent textExtent(HWND window, const std::string& text, UINT flags, int width = 0) {
    const std::wstring wide = platform::win::wide(text);
    HDC dc = ::GetDC(window);
    HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(window, WM_GETFONT, 0, 0)));
    RECT extent{0, 0, width, 0};
    ::DrawTextW(dc, wide.c_str(), int(wide.size()), &extent, flags | DT_CALCRECT);
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return {int(extent.right - extent.left), int(extent.bottom - extent.top)};
}

// The tabs of a tab strip, in its client area.
RECT tabsOf(HWND strip) {
    RECT tabs{};
    for (int tab = 0; tab < int(::SendMessageW(strip, TCM_GETITEMCOUNT, 0, 0)); ++tab) {
        RECT item{};
        ::SendMessageW(strip, TCM_GETITEMRECT, WPARAM(tab), reinterpret_cast<LPARAM>(&item));
        ::UnionRect(&tabs, &tabs, &item);
    }
    return tabs;
}

class WinProbe : public testsupport::LayoutProbe {
public:
    explicit WinProbe(const platform::Form& form)
        : m_form(form), m_root(platform::win::rootWindow(form.window())) {}

    int pixelsX(int twips) const override { return wintest::pixelsX(twips); }
    int pixelsY(int twips) const override { return wintest::pixelsY(twips); }
    Extent clientSize() const override {
        const RECT client = clientRect(m_root);
        return {int(client.right), int(client.bottom)};
    }
    std::optional<Point> clientOnScreen() const override {
        POINT origin{0, 0};
        ::ClientToScreen(m_root, &origin);
        return Point{int(origin.x), int(origin.y)};
    }
    const void* object(int row) const override { return window(row); }
    const void* clientObject() const override { return m_root; }
    const void* parentObject(int row) const override { return ::GetParent(window(row)); }
    Pixels place(int row) const override { return pixels(placeInParent(window(row))); }
    Pixels room(int container) const override {
        return pixels(clientRect(container < 0 ? m_root : window(container)));
    }
    // A combo box's field takes the height its font gives.
    bool heightFromFont(int row) const override {
        const ControlKind kind = kindOf(row);
        return kind == ControlKind::ComboBox || kind == ControlKind::DropDownList;
    }
    bool focusable(int row) const override {
        return ::GetWindowLongW(window(row), GWL_STYLE) & WS_TABSTOP;
    }
    // A tab strip takes the focus on its tabs; its page belongs to the panels over it.
    Pixels focusArea(int row) const override {
        HWND control = window(row);
        RECT area = kindOf(row) == ControlKind::TabStrip ? tabsOf(control) : clientRect(control);
        ::MapWindowPoints(control, m_root, reinterpret_cast<POINT*>(&area), 2);
        return pixels(area);
    }
    std::optional<Caption> caption(int row) const override;

private:
    HWND window(int row) const { return platform::win::controlWindow(m_form.window(), row); }
    ControlKind kindOf(int row) const { return m_form.design().controls[std::size_t(row)].kind; }

    const platform::Form& m_form;
    HWND m_root;
};

std::optional<Caption> WinProbe::caption(int row) const {
    HWND control = window(row);
    const std::string text = windowText(control);
    const RECT client = clientRect(control);
    switch (kindOf(row)) {
    case ControlKind::Label:
        if (text.empty())
            return {};
        // Wrapped within its box, unless it takes its caption's extent.
        if (m_form.design().controls[std::size_t(row)].autoSize)
            return Caption{textExtent(control, text, DT_EXPANDTABS), pixels(client)};
        return Caption{textExtent(control, text, DT_EXPANDTABS | DT_WORDBREAK, int(client.right)),
                       pixels(client)};
    case ControlKind::CommandButton: {
        // Inside the button's raised edge.
        RECT room = client;
        ::InflateRect(&room, -::GetSystemMetrics(SM_CXEDGE), -::GetSystemMetrics(SM_CYEDGE));
        return Caption{textExtent(control, text, DT_SINGLELINE), pixels(room)};
    }
    case ControlKind::CheckBox: {
        RECT room = client;
        room.left += ::GetSystemMetrics(SM_CXMENUCHECK);
        return Caption{textExtent(control, text, DT_SINGLELINE), pixels(room)};
    }
    case ControlKind::Frame:
        // The title stands in the top edge, from where the frame draws it.
        if (text.empty())
            return {};
        return Caption{{textExtent(control, text, DT_SINGLELINE).width + pixelsX(90), 0},
                       pixels(client)};
    case ControlKind::TabStrip: {
        // Room for a page beneath the tabs.
        const RECT tabs = tabsOf(control);
        return Caption{{int(tabs.right), int(tabs.bottom) + 1}, pixels(client)};
    }
    default:
        return {};
    }
}

} // namespace

void checkLayout(const platform::Form& form) {
    for (const std::string& fault : testsupport::layoutFaults(form, WinProbe(form)))
        fail(__FILE__, __LINE__, std::string(form.design().name) + ": " + fault);
}

} // namespace wintest
