// Frames and panels: windows of the front end's own class that hold other controls. A frame
// draws its etched border and caption, and both draw the lines that stand on them. What their
// controls tell goes on to the window, wherever they stand.
#include "platform/win/WinControl.h"

#include "platform/win/Painting.h"
#include "platform/win/WinWindow.h"

namespace platform::win {

namespace {

class ContainerControl final : public WinControl {
public:
    using WinControl::WinControl;

    bool isContainer() const override { return true; }
    void setText(const std::string& text) override {
        WinControl::setText(text);
        if (isFrame())
            ::InvalidateRect(m_hwnd, nullptr, TRUE);
    }

    LRESULT message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
        case WM_DRAWITEM:
            // The window's code hears of its controls wherever they stand.
            return ::SendMessageW(m_window.root(), message, wParam, lParam);
        case WM_SETFONT:
            m_font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam))
                ::InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(m_font);
        case WM_PAINT:
            m_window.paint(hwnd, row());
            return 0;
        case WM_PRINTCLIENT:
            m_window.paintContainer(row(), reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_LBUTTONDOWN:
            m_window.pressOn(hwnd);
            return 0;
        case WM_LBUTTONUP: {
            const bool pressedHere = m_window.releaseOn(hwnd);
            RECT client{};
            ::GetClientRect(hwnd, &client);
            const POINT at{short(LOWORD(lParam)), short(HIWORD(lParam))};
            // A click on the frame's bare area: its labels and pictures take their own clicks.
            if (pressedHere && isFrame() && ::PtInRect(&client, at))
                m_window.raise({Event::Click, row()});
            return 0;
        }
        default:
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
        }
    }

    // A frame's etched border and caption, beneath its lines and controls.
    void paintOn(HDC dc) const override {
        if (isFrame() && m_hwnd)
            drawFrame(m_hwnd, dc, m_window.density().pixelsX(captionIndent));
    }

private:
    // Where a frame's caption starts.
    static constexpr int captionIndent = 90;

    Creation creation() const override {
        return {containerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    }
    bool isFrame() const { return design().kind == ControlKind::Frame; }

    HFONT m_font = nullptr; // its own, which the system keeps for the other classes
};

// The container a window of the container class stands for, found by its id, which is its row's.
ContainerControl* containerOf(HWND hwnd) {
    WinWindow* window = WinWindow::fromRoot(::GetAncestor(hwnd, GA_ROOT));
    if (!window)
        return nullptr;
    const int row = ::GetDlgCtrlID(hwnd) - firstId;
    if (row < 0 || row >= int(window->design().controls.size()) ||
        !window->control(row).isContainer())
        return nullptr;
    return static_cast<ContainerControl*>(&window->control(row));
}

} // namespace

std::unique_ptr<WinControl> makeContainer(WinWindow& window, int row) {
    return std::make_unique<ContainerControl>(window, row);
}

LRESULT CALLBACK containerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        if (ContainerControl* container = containerOf(hwnd))
            return container->message(hwnd, message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system; the message counts as handled as far as it went.
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace platform::win
