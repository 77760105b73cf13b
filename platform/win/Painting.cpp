// Painting: the frames, lines and pictures that the front end draws itself, and the regions of
// controls that overlap, so that each draws only where the design shows it.
#include "platform/win/Painting.h"

#include "platform/win/WinControl.h"
#include "platform/win/WinWindow.h"

#include <algorithm>
#include <string>
#include <vector>

namespace platform::win {

void drawFrame(HWND frame, HDC dc, int captionLeft) {
    RECT border{};
    ::GetClientRect(frame, &border);
    const std::wstring caption = windowText(frame);
    HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(frame, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    if (!caption.empty())
        border.top += metrics.tmHeight / 2;
    ::DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
    if (!caption.empty()) {
        RECT text{captionLeft, 0, 0, metrics.tmHeight};
        ::DrawTextW(dc, caption.c_str(), int(caption.size()), &text, DT_CALCRECT | DT_SINGLELINE);
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
        ::SetBkMode(dc, OPAQUE);
        ::DrawTextW(dc, caption.c_str(), int(caption.size()), &text, DT_SINGLELINE);
    }
    ::SelectObject(dc, old);
}

void drawLine(HDC dc, const ControlDesign& line, const Density& density) {
    const Colour colour = line.colour.value_or(Colour{});
    HPEN pen = ::CreatePen(PS_SOLID, std::max(1, line.lineWidth),
                           RGB(colour.red, colour.green, colour.blue));
    HGDIOBJ old = ::SelectObject(dc, pen);
    ::MoveToEx(dc, density.pixelsX(line.from.x), density.pixelsY(line.from.y), nullptr);
    ::LineTo(dc, density.pixelsX(line.to.x), density.pixelsY(line.to.y));
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

HICON loadIcon(int id, int side) {
    return static_cast<HICON>(
        ::LoadImageW(module(), MAKEINTRESOURCEW(id), IMAGE_ICON, side, side, 0));
}

void destroyIcon(HICON icon) {
    if (icon)
        ::DestroyIcon(icon);
}

void drawPicture(HDC dc, const RECT& box, HICON icon, int side) {
    ::FillRect(dc, &box, ::GetSysColorBrush(COLOR_BTNFACE));
    if (!icon)
        return;
    ::DrawIconEx(dc, box.left, box.top, icon, side ? side : box.right - box.left,
                 side ? side : box.bottom - box.top, 0, nullptr, DI_NORMAL);
}

// The design stacks a container's controls in the order of its table, the later above, with a
// tab strip beneath everything on its page; the windows are stacked in the Tab order instead.
// Where the two disagree and controls overlap, the one the windows put on top leaves the other's
// place out of its region, so that it neither draws over it nor takes its clicks.
void WinWindow::clipOverlaps(int container) {
    std::vector<WinControl*> stacked;
    for (HWND child = ::GetWindow(containerWindow(container), GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT))
        if (const int row = rowOf(child); row >= 0)
            stacked.push_back(&control(row));
    const auto designAbove = [](const WinControl& upper, const WinControl& lower) {
        const bool upperStrip = upper.design().kind == ControlKind::TabStrip;
        const bool lowerStrip = lower.design().kind == ControlKind::TabStrip;
        if (upperStrip || lowerStrip)
            return lowerStrip && !upperStrip;
        return upper.row() > lower.row();
    };
    std::vector<RECT> places(stacked.size());
    for (std::size_t i = 0; i < stacked.size(); ++i)
        ::GetWindowRect(stacked[i]->hwnd(), &places[i]);
    for (std::size_t top = 0; top < stacked.size(); ++top) {
        WinControl& upper = *stacked[top];
        const RECT& own = places[top];
        std::vector<RECT> holes;
        for (std::size_t below = top + 1; below < stacked.size(); ++below) {
            RECT overlap{};
            if (!designAbove(*stacked[below], upper) ||
                !(::GetWindowLongW(stacked[below]->hwnd(), GWL_STYLE) & WS_VISIBLE) ||
                !::IntersectRect(&overlap, &own, &places[below]))
                continue;
            ::OffsetRect(&overlap, -own.left, -own.top);
            holes.push_back(overlap);
        }
        const auto same = [](const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; };
        if (std::equal(holes.begin(), holes.end(), upper.holes().begin(), upper.holes().end(),
                       same))
            continue;
        upper.holes() = holes;
        HRGN region = nullptr;
        if (!holes.empty()) {
            region = ::CreateRectRgn(0, 0, own.right - own.left, own.bottom - own.top);
            for (const RECT& hole : holes) {
                HRGN cut = ::CreateRectRgnIndirect(&hole);
                ::CombineRgn(region, region, cut, RGN_DIFF);
                ::DeleteObject(cut);
            }
        }
        ::SetWindowRgn(upper.hwnd(), region, TRUE); // the system owns the region now
    }
}

// A container's own drawing (the client area's for -1): a frame's border, and the lines that
// stand on it, beneath its controls.
void WinWindow::paint(HWND hwnd, int container) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd, &paint);
    paintContainer(container, dc);
    ::EndPaint(hwnd, &paint);
}

void WinWindow::paintContainer(int container, HDC dc) {
    if (container >= 0)
        control(container).paintOn(dc);
    for (const auto& child : m_controls)
        if (child->container() == container && !child->hwnd())
            child->paintOn(dc);
}

} // namespace platform::win
