// The window of the Win32 front end: made from its table with a control per row, and what the
// window's code asks of it, by control row. Its messages are in WindowMessages.cpp.
#include "platform/win/WinWindow.h"

#include "platform/FormRules.h"
#include "platform/RuntimeError.h"
#include "platform/StartupTrace.h"
#include "platform/win/Painting.h"
#include "platform/win/WideText.h"
#include "platform/win/WinControl.h"
#include "platform/win/WindowHandles.h"
#include "resources/win/ResourceIds.h"

#include <commctrl.h>
#include <oleacc.h>

#include <utility>

namespace platform::win {

namespace {

constexpr wchar_t formClass[] = L"QuorvexForm";

ATOM formAtom = 0;

LRESULT CALLBACK formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        if (WinWindow* window = WinWindow::fromRoot(hwnd)) {
            bool handled = false;
            const LRESULT result = window->formMessage(message, wParam, lParam, handled);
            if (handled)
                return result;
        }
    } catch (...) {
        // Nothing may unwind into the system; the message counts as handled as far as it went.
        return 0;
    }
    return ::DefDlgProcW(hwnd, message, wParam, lParam);
}

void registerClasses() {
    static const bool registered = [] {
        // The common controls' classes, here only: every window and control is made after
        // this. STANDARD for EDIT, COMBOBOX, BUTTON and STATIC, TAB and BAR for the tab control
        // and the tool tips; a kind of control of another class adds its flag here.
        const INITCOMMONCONTROLSEX controls{
            sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
        startuptrace::mark("toolkit-ready");
        WNDCLASSEXW form{};
        form.cbSize = sizeof form;
        form.lpfnWndProc = formProc;
        form.cbWndExtra = DLGWINDOWEXTRA;
        form.hInstance = module();
        form.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        form.lpszClassName = formClass;
        formAtom = ::RegisterClassExW(&form);
        WNDCLASSEXW container{};
        container.cbSize = sizeof container;
        container.lpfnWndProc = containerProc;
        container.hInstance = module();
        container.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        container.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        container.lpszClassName = containerClass;
        return formAtom != 0 && ::RegisterClassExW(&container) != 0;
    }();
    if (!registered)
        throw RuntimeError::of(RuntimeError::OutOfMemory);
}

} // namespace

HINSTANCE module() {
    return ::GetModuleHandleW(nullptr);
}

std::wstring windowText(HWND hwnd) {
    std::wstring text(std::size_t(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(std::size_t(::GetWindowTextW(hwnd, text.data(), int(text.size()))));
    return text;
}

WinWindow::WinWindow(const FormDesign& design, EventSink& sink)
    : m_design(design), m_sink(sink), m_density(Density::ofScreen()) {
    registerClasses();
    for (int row = 0; row < int(design.controls.size()); ++row)
        m_controls.push_back(makeControl(*this, row));
    m_dialogKeys = !tabOrder(design).empty();
    m_defaultRow = defaultButtonRow(design);
    m_cancelRow = cancelButtonRow(design);
    for (const auto& control : m_controls)
        control->addToMenuBar(m_menuBar);

    DWORD style = WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    switch (design.style) {
    case FormStyle::Sizable:
        style |= WS_OVERLAPPEDWINDOW;
        break;
    case FormStyle::FixedDialog:
        // The modal frame also keeps the icon out of the caption.
        style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
        exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    case FormStyle::Splash:
        style |= WS_POPUP | WS_DLGFRAME;
        break;
    }
    // At the density of the monitor it is to open on, as far as that is known before it is
    // there; the place in pixels depends on the density, so the monitor is found by the place
    // at the system's.
    POINT at{};
    if (design.position)
        at = {m_density.pixelsX(design.position->x), m_density.pixelsY(design.position->y)};
    if (const int dpi = MonitorDensity::current().dpiAt(at); dpi > 0)
        m_density = {dpi, dpi};
    RECT frame = frameAtDensity(style, exStyle);
    m_root = ::CreateWindowExW(exStyle, formClass, wide(design.caption).c_str(), style, frame.left,
                               frame.top, frame.right - frame.left, frame.bottom - frame.top,
                               nullptr, m_menuBar, module(), this);
    if (!m_root) {
        release();
        throw RuntimeError::of(RuntimeError::OutOfMemory);
    }
    try {
        // Where the system tells the density of the window itself, that one counts; its
        // controls are made after this, at that density.
        if (const int dpi = MonitorDensity::current().dpiOf(m_root);
            dpi > 0 && (dpi != m_density.dpiX || dpi != m_density.dpiY)) {
            m_density = {dpi, dpi};
            frame = frameAtDensity(style, exStyle);
            ::SetWindowPos(m_root, nullptr, frame.left, frame.top, frame.right - frame.left,
                           frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        ::SendMessageW(m_root, WM_SETFONT, reinterpret_cast<WPARAM>(font(design.font)), FALSE);
        setIcons();
        createChildren(m_root, -1);
        if (m_defaultRow >= 0)
            ::SendMessageW(m_root, DM_SETDEFID, WPARAM(firstId + m_defaultRow), 0);
        if (design.style == FormStyle::FixedDialog)
            m_accessible.serve(m_root, *this, false); // formMessage hands WM_GETOBJECT on
    } catch (...) {
        release();
        throw;
    }
    m_ready = true;
}

// The outer frame around the client area at the window's density, at its place.
RECT WinWindow::frameAtDensity(DWORD style, DWORD exStyle) const {
    RECT frame{0, 0, m_density.pixelsX(m_design.clientWidth),
               m_density.pixelsY(m_design.clientHeight)};
    if (m_design.position)
        ::OffsetRect(&frame, m_density.pixelsX(m_design.position->x),
                     m_density.pixelsY(m_design.position->y));
    const bool menu = m_menuBar != nullptr;
    if (!MonitorDensity::current().frameFor(frame, style, menu, exStyle, m_density.dpiX))
        ::AdjustWindowRectEx(&frame, style, menu, exStyle);
    if (!m_design.position)
        ::OffsetRect(&frame, -frame.left, -frame.top);
    return frame;
}

WinWindow::~WinWindow() {
    release();
}

void WinWindow::release() {
    m_accessible.drop();
    if (m_root) {
        // Nothing that the destruction sends may reach this object any more.
        ::SetWindowLongPtrW(m_root, GWLP_USERDATA, 0);
        ::DestroyWindow(m_root);
    } else if (m_menuBar) {
        ::DestroyMenu(m_menuBar);
    }
    m_root = nullptr;
    m_menuBar = nullptr;
    m_controls.clear();
    m_fonts = FontCache();
    destroyIcon(std::exchange(m_bigIcon, nullptr));
    destroyIcon(std::exchange(m_smallIcon, nullptr));
}

WinWindow* WinWindow::fromRoot(HWND root) {
    if (!root || static_cast<ATOM>(::GetClassLongPtrW(root, GCW_ATOM)) != formAtom)
        return nullptr;
    return reinterpret_cast<WinWindow*>(::GetWindowLongPtrW(root, GWLP_USERDATA));
}

int WinWindow::rowOf(HWND hwnd) const {
    if (!hwnd)
        return -1;
    const int row = ::GetDlgCtrlID(hwnd) - firstId;
    return row >= 0 && row < int(m_controls.size()) && control(row).hwnd() == hwnd ? row : -1;
}

HWND WinWindow::containerWindow(int container) const {
    return container >= 0 ? control(container).hwnd() : m_root;
}

// Each container's controls are stacked, top down, in its stacking order, which the dialog
// manager's Tab key follows.
void WinWindow::createChildren(HWND parent, int container) {
    HWND previous = HWND_TOP;
    for (int row : stackingOrder(m_design, container)) {
        WinControl& child = control(row);
        child.create(parent);
        if (!child.hwnd())
            continue; // drawn by its container
        ::SetWindowPos(child.hwnd(), previous, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = child.hwnd();
        if (child.isContainer())
            createChildren(child.hwnd(), row);
    }
    clipOverlaps(container);
}

// The program's icon in the caption and the task list: the sizes the system asks for at its
// own density, scaled to the window's, which differs once the window moves to another display.
void WinWindow::setIcons() {
    if (!m_design.icon)
        return;
    const int systemDpi = Density::ofScreen().dpiX;
    const auto load = [&](int metric) {
        return loadIcon(QUORVEX_ICON_PROGRAM,
                        ::MulDiv(::GetSystemMetrics(metric), m_density.dpiX, systemDpi));
    };
    HICON oldBig = std::exchange(m_bigIcon, load(SM_CXICON));
    HICON oldSmall = std::exchange(m_smallIcon, load(SM_CXSMICON));
    ::SendMessageW(m_root, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon));
    ::SendMessageW(m_root, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon));
    destroyIcon(oldBig);
    destroyIcon(oldSmall);
}

// The tool tip window comes with the first tool tip: a window with none, as the splash, is up
// sooner without it.
void WinWindow::addToolTip(HWND hwnd, std::wstring& text) {
    if (!m_toolTips)
        m_toolTips =
            ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, m_root, nullptr, module(), nullptr);
    if (!m_toolTips)
        return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_root;
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
    tool.lpszText = text.data();
    ::SendMessageW(m_toolTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void WinWindow::show() {
    if (!::IsWindowVisible(m_root)) {
        ::ShowWindow(m_root, SW_SHOW);
        if (!m_shown) {
            m_shown = true;
            focusFirst();
        }
    }
    ::SetForegroundWindow(m_root);
    ::BringWindowToTop(m_root);
}

// A newly shown window gives the focus to its lowest tab index that takes it; one with none
// keeps the focus itself, so that its keys reach it.
void WinWindow::focusFirst() {
    HWND first = ::GetNextDlgTabItem(m_root, nullptr, FALSE);
    if (first)
        ::SendMessageW(m_root, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
    else
        ::SetFocus(m_root);
}

void WinWindow::hide() {
    ::ShowWindow(m_root, SW_HIDE);
}

bool WinWindow::isVisible() const {
    return ::IsWindowVisible(m_root);
}

void WinWindow::setCaption(const std::string& caption) {
    ::SetWindowTextW(m_root, wide(caption).c_str());
}

// Draws whatever waits to be drawn, the controls included, at once: only paint messages are
// sent, so no input is handled meanwhile.
void WinWindow::paintNow() {
    ::RedrawWindow(m_root, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

TwipsRect WinWindow::frame() const {
    RECT frame{};
    ::GetWindowRect(m_root, &frame);
    return {m_density.twipsX(frame.left), m_density.twipsY(frame.top),
            m_density.twipsX(frame.right - frame.left), m_density.twipsY(frame.bottom - frame.top)};
}

TwipsRect WinWindow::screen() const {
    return {0, 0, m_density.twipsX(::GetSystemMetrics(SM_CXSCREEN)),
            m_density.twipsY(::GetSystemMetrics(SM_CYSCREEN))};
}

void WinWindow::moveFrame(int left, int top) {
    ::SetWindowPos(m_root, nullptr, m_density.pixelsX(left), m_density.pixelsY(top), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string WinWindow::text(int row) const {
    return control(row).text();
}

void WinWindow::setText(int row, const std::string& text) {
    control(row).setText(text);
}

bool WinWindow::isVisible(int row) const {
    return control(row).isVisible();
}

void WinWindow::setVisible(int row, bool visible) {
    control(row).setVisible(visible);
}

bool WinWindow::isEnabled(int row) const {
    return control(row).isEnabled();
}

void WinWindow::setEnabled(int row, bool enabled) {
    control(row).setEnabled(enabled);
}

TwipsRect WinWindow::place(int row) const {
    return control(row).rect();
}

void WinWindow::setLeft(int row, int left) {
    control(row).setLeft(left);
}

int WinWindow::value(int row) const {
    return control(row).value();
}

void WinWindow::setValue(int row, int value) {
    control(row).setValue(value);
}

void WinWindow::onFirstPaint(std::function<void()> callback) {
    m_firstPaint = std::move(callback);
}

std::optional<std::wstring> WinWindow::accessibleName() const {
    return windowText(m_root);
}

long WinWindow::accessibleRole() const {
    return ROLE_SYSTEM_DIALOG;
}

// The texts of the describing labels that are to be seen, in reading order; each one a sentence
// of its own.
std::optional<std::wstring> WinWindow::accessibleDescription() const {
    std::wstring description;
    for (int row : describingLabels(m_design)) {
        HWND hwnd = control(row).hwnd();
        if (!hwnd || !::IsWindowVisible(hwnd) || !::IsWindowEnabled(::GetParent(hwnd)))
            continue;
        const std::wstring text = withoutMnemonics(windowText(hwnd));
        if (text.empty())
            continue;
        if (!description.empty())
            description +=
                std::wstring(L".!?:").find(description.back()) == std::wstring::npos ? L". " : L" ";
        description += text;
    }
    return description;
}

HWND rootWindow(const NativeWindow& window) {
    return static_cast<const WinWindow&>(window).root();
}

HWND controlWindow(const NativeWindow& window, int control) {
    return static_cast<const WinWindow&>(window).control(control).hwnd();
}

} // namespace platform::win

namespace platform {

std::unique_ptr<NativeWindow> createNativeWindow(const FormDesign& design, EventSink& sink) {
    return std::make_unique<win::WinWindow>(design, sink);
}

} // namespace platform
