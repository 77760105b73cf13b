// What every kind of control shares: making its window with the styles its row asks for,
// placing it in pixels of the window's density, its tool tip and accessible name, and its
// state. The kinds themselves are in Controls.cpp and Container.cpp.
#include "platform/win/WinControl.h"

#include "platform/FormRules.h"
#include "platform/RuntimeError.h"
#include "platform/win/AccessibleName.h"
#include "platform/win/WideText.h"
#include "platform/win/WinWindow.h"

namespace platform::win {

WinControl::WinControl(WinWindow& window, int row)
    : m_window(window), m_rect(window.design().controls[std::size_t(row)].rect), m_row(row),
      m_container(containerRow(window.design(), row)) {
    m_enabled = !design().disabled;
    if (design().toolTip)
        m_toolTip = wide(design().toolTip);
}

WinControl::~WinControl() = default;

void WinControl::dropAccessibleName() {
    m_accessibleName.reset();
}

const ControlDesign& WinControl::design() const {
    return m_window.design().controls[std::size_t(m_row)];
}

void WinControl::create(HWND parent) {
    const ControlDesign& row = design();
    Creation kind = creation();
    // Each control a group of its own, so that the arrow keys move no focus between them.
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_GROUP | kind.style;
    if (takesFocus(row))
        style |= WS_TABSTOP;
    if (row.disabled)
        style |= WS_DISABLED;
    m_hwnd = ::CreateWindowExW(kind.exStyle, kind.className, wide(row.text).c_str(), style, 0, 0, 0,
                               0, parent, reinterpret_cast<HMENU>(INT_PTR(firstId + m_row)),
                               module(), nullptr);
    if (!m_hwnd)
        throw RuntimeError::of(RuntimeError::OutOfMemory);
    ::SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_window.fontOf(row)), FALSE);
    created();
    if (row.accessibleName)
        m_accessibleName = std::make_unique<AccessibleName>(m_hwnd, wide(row.accessibleName));
    place();
    if (!m_toolTip.empty())
        m_window.addToolTip(m_hwnd, m_toolTip);
}

void WinControl::place() {
    const Density& density = m_window.density();
    ::SetWindowPos(m_hwnd, nullptr, density.pixelsX(m_rect.left), density.pixelsY(m_rect.top),
                   density.pixelsX(m_rect.width), density.pixelsY(m_rect.height),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinControl::rescale() {
    if (!m_hwnd)
        return;
    ::SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_window.fontOf(design())), TRUE);
    place();
}

void WinControl::redrawContainer() const {
    ::InvalidateRect(m_window.containerWindow(m_container), nullptr, TRUE);
}

std::string WinControl::text() const {
    return utf8(windowText(m_hwnd));
}

void WinControl::setText(const std::string& text) {
    ::SetWindowTextW(m_hwnd, wide(text).c_str());
}

bool WinControl::isVisible() const {
    // The control's own flag, whether or not its window is shown.
    return m_hwnd ? (::GetWindowLongW(m_hwnd, GWL_STYLE) & WS_VISIBLE) != 0 : m_visible;
}

void WinControl::setVisible(bool visible) {
    m_visible = visible;
    if (!m_hwnd)
        return;
    ::ShowWindow(m_hwnd, visible ? SW_SHOWNA : SW_HIDE);
    m_window.clipOverlaps(m_container);
    // Screen readers speak an alert's name, a static control's text.
    if (visible && design().announced)
        ::NotifyWinEvent(EVENT_SYSTEM_ALERT, m_hwnd, OBJID_CLIENT, CHILDID_SELF);
}

bool WinControl::isEnabled() const {
    return m_hwnd ? ::IsWindowEnabled(m_hwnd) != FALSE : m_enabled;
}

void WinControl::setEnabled(bool enabled) {
    m_enabled = enabled;
    if (m_hwnd)
        ::EnableWindow(m_hwnd, enabled);
}

void WinControl::setLeft(int left) {
    m_rect.left = left;
    if (!m_hwnd)
        return;
    const Density& density = m_window.density();
    ::SetWindowPos(m_hwnd, nullptr, density.pixelsX(left), density.pixelsY(m_rect.top), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_window.clipOverlaps(m_container);
}

} // namespace platform::win
