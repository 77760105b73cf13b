// What every kind of control shares: making its window with the styles its row asks for,
// placing it in pixels of the window's density, its tool tip, its state, and what screen
// readers hear of it. The kinds themselves are in Controls.cpp and Container.cpp.
#include "platform/win/WinControl.h"

#include "platform/FormRules.h"
#include "platform/RuntimeError.h"
#include "platform/win/WideText.h"
#include "platform/win/WinWindow.h"

#include <oleacc.h>

namespace platform::win {

WinControl::WinControl(WinWindow& window, int row)
    : m_window(window), m_rect(window.design().controls[std::size_t(row)].rect), m_row(row),
      m_container(containerRow(window.design(), row)) {
    m_enabled = !design().disabled;
    if (design().toolTip)
        m_toolTip = wide(design().toolTip);
}

WinControl::~WinControl() = default;

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
    const RECT at = placement();
    m_hwnd =
        ::CreateWindowExW(kind.exStyle, kind.className, wide(row.text).c_str(), style, at.left,
                          at.top, at.right - at.left, at.bottom - at.top, parent,
                          reinterpret_cast<HMENU>(INT_PTR(firstId + m_row)), module(), nullptr);
    if (!m_hwnd)
        throw RuntimeError::of(RuntimeError::OutOfMemory);
    ::SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_window.fontOf(row)), FALSE);
    created();
    m_accessible.serve(m_hwnd, *this);
    if (!m_toolTip.empty())
        m_window.addToolTip(m_hwnd, m_toolTip);
}

RECT WinControl::placement() {
    const Density& density = m_window.density();
    const int left = density.pixelsX(m_rect.left);
    const int top = density.pixelsY(m_rect.top);
    return {left, top, left + density.pixelsX(m_rect.width), top + density.pixelsY(m_rect.height)};
}

void WinControl::place() {
    const RECT at = placement();
    ::SetWindowPos(m_hwnd, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
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
    // Screen readers speak an alert's name, a static control's text, and its description.
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

namespace {

using enum ControlKind;

std::wstring trimmed(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(L' ');
    return first == std::wstring::npos
               ? std::wstring()
               : text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

} // namespace

std::optional<std::wstring> WinControl::accessibleName() const {
    if (design().accessibleName)
        return wide(design().accessibleName);
    switch (design().kind) {
    case Label:
    case CommandButton:
    case CheckBox:
    case Frame:
        return withoutMnemonics(windowText(m_hwnd));
    default:
        return {};
    }
}

long WinControl::accessibleRole() const {
    switch (design().kind) {
    case Label:
        return ROLE_SYSTEM_STATICTEXT;
    case TextBox:
        return ROLE_SYSTEM_TEXT;
    case ComboBox:
    case DropDownList:
        return ROLE_SYSTEM_COMBOBOX;
    case CheckBox:
        return ROLE_SYSTEM_CHECKBUTTON;
    case CommandButton:
        return ROLE_SYSTEM_PUSHBUTTON;
    case PictureBox:
    case Image:
        return ROLE_SYSTEM_GRAPHIC;
    case Frame:
        return ROLE_SYSTEM_GROUPING;
    case Panel:
        return ROLE_SYSTEM_PANE;
    case TabStrip:
        return ROLE_SYSTEM_PAGETABLIST;
    default:
        return 0;
    }
}

std::optional<std::wstring> WinControl::accessibleValue() const {
    switch (design().kind) {
    case TextBox:
    case ComboBox:
    case DropDownList:
        return wide(text());
    default:
        return {};
    }
}

// An announced label is followed by the fields it tells of, each as its heading and its figure
// ("TOTAL 35, GRAND TOTAL: 35"); a control with a tool tip is described by it.
std::optional<std::wstring> WinControl::accessibleDescription() const {
    const FormDesign& form = m_window.design();
    std::wstring told;
    for (const char* field : design().announcedWith) {
        const int row = findRow(form, field);
        if (row < 0)
            continue;
        const int heading = headingRow(form, row);
        std::wstring item = trimmed(wide(m_window.control(row).text()));
        if (heading >= 0)
            item = withoutMnemonics(windowText(m_window.control(heading).hwnd())) + L" " + item;
        told += (told.empty() ? L"" : L", ") + item;
    }
    if (!told.empty())
        return told;
    if (!m_toolTip.empty())
        return m_toolTip;
    return {};
}

long WinControl::accessibleState(long standard) const {
    constexpr long mine = STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE |
                          STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_READONLY |
                          STATE_SYSTEM_CHECKED | STATE_SYSTEM_ALERT_HIGH;
    long state = standard & ~mine;
    const bool shown = ::IsWindowVisible(m_hwnd) != FALSE;
    const bool enabled = ::IsWindowEnabled(m_hwnd) != FALSE;
    HWND focus = ::GetFocus();
    if (!shown)
        state |= STATE_SYSTEM_INVISIBLE;
    if (!enabled)
        state |= STATE_SYSTEM_UNAVAILABLE;
    if (takesFocus(design()) && shown && enabled)
        state |= STATE_SYSTEM_FOCUSABLE;
    if (focus && (focus == m_hwnd || ::IsChild(m_hwnd, focus)))
        state |= STATE_SYSTEM_FOCUSED;
    if (design().readOnly)
        state |= STATE_SYSTEM_READONLY;
    if (design().kind == CheckBox && value() != 0)
        state |= STATE_SYSTEM_CHECKED;
    // The outcome of the bet: what a screen reader tells at once when it appears.
    if (design().announced && shown)
        state |= STATE_SYSTEM_ALERT_HIGH;
    return state;
}

} // namespace platform::win
