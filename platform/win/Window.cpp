// The Win32 front end of the window layer: one top-level window per form, built from its table
// with the system's own controls. The top-level windows are dialogs of a class of their own
// (DefDlgProc), so that the dialog manager keeps the focus across activations and moves the
// default-button look with the focus; the event loop feeds them through IsDialogMessage.
#include "platform/Window.h"

#include "platform/FormRules.h"
#include "platform/RuntimeError.h"
#include "platform/win/AccessibleName.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WideText.h"
#include "platform/win/Win32.h"
#include "platform/win/WindowHandles.h"
#include "resources/win/ResourceIds.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace platform {

namespace {

using enum ControlKind;

// Control and menu ids are the row plus this, clear of IDOK and IDCANCEL.
constexpr int firstId = 1000;
constexpr wchar_t formClass[] = L"QuorvexForm";
constexpr wchar_t containerClass[] = L"QuorvexContainer";
constexpr int twipsPerInch = 1440;
constexpr int pointsPerInch = 72;
// The pictures are 16 x 16 pixels at the system's standard 96 dots per inch.
constexpr int pictureSize = 16;
constexpr int standardDpi = 96;
// Room for a combo box's list below its field.
constexpr int listRows = 8;

ATOM formAtom = 0;

LRESULT CALLBACK formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
LRESULT CALLBACK containerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

HINSTANCE module() {
    return ::GetModuleHandleW(nullptr);
}

void registerClasses() {
    static const bool registered = [] {
        const INITCOMMONCONTROLSEX controls{
            sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
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

bool isContainer(ControlKind kind) {
    return kind == Frame || kind == Panel;
}

bool sameFont(const FontDesign& a, const FontDesign& b) {
    return std::strcmp(a.face, b.face) == 0 && a.points == b.points && a.weight == b.weight &&
           a.italic == b.italic && a.underline == b.underline;
}

int shiftState() {
    return (::GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (::GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (::GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

std::wstring windowText(HWND hwnd) {
    std::wstring text(std::size_t(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(std::size_t(::GetWindowTextW(hwnd, text.data(), int(text.size()))));
    return text;
}

class WinWindow final : public NativeWindow {
public:
    WinWindow(const FormDesign& design, EventSink& sink);
    ~WinWindow() override;
    WinWindow(const WinWindow&) = delete;
    WinWindow& operator=(const WinWindow&) = delete;

    static WinWindow* fromRoot(HWND root);

    void show() override;
    void hide() override;
    bool isVisible() const override;
    void setCaption(const std::string& caption) override;
    void paintNow() override;
    TwipsRect frame() const override;
    TwipsRect screen() const override;
    void moveFrame(int left, int top) override;

    std::string text(int control) const override;
    void setText(int control, const std::string& text) override;
    bool isVisible(int control) const override;
    void setVisible(int control, bool visible) override;
    bool isEnabled(int control) const override;
    void setEnabled(int control, bool enabled) override;
    TwipsRect place(int control) const override;
    void setLeft(int control, int left) override;
    int value(int control) const override;
    void setValue(int control, int value) override;
    void setFocus(int control) override;
    void onFirstPaint(std::function<void()> callback) override;

    HWND root() const { return m_root; }
    HWND controlHandle(int control) const { return item(control).hwnd; }
    bool keyPreview() const { return m_design.keyPreview; }
    // Whether the dialog keys apply: a window with nothing to take the focus has its keys as
    // they are, so that each one reaches its character handler.
    bool dialogKeys() const { return m_dialogKeys; }

    // Tells the window's code. The window may be gone afterwards: touch nothing after this.
    void raise(const Event& event) noexcept { m_sink.handle(event); }

    LRESULT formMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT containerMessage(HWND hwnd, int row, UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct Item {
        HWND hwnd = nullptr;
        TwipsRect rect{};
        int parent = -1; // the container's row, -1 the client area
        bool visible = true;
        bool enabled = true;
        std::wstring toolTip;
        std::vector<std::wstring> tabToolTips;
        std::vector<RECT> holes; // the places left out of its region
        std::string menuText;
        HMENU menu = nullptr; // a menu's popup, or a menu item's menu
        HFONT font = nullptr; // a container's own, which the system keeps for the others
        HICON icon = nullptr;
    };

    int pixelsX(int twips) const { return ::MulDiv(twips, m_dpiX, twipsPerInch); }
    int pixelsY(int twips) const { return ::MulDiv(twips, m_dpiY, twipsPerInch); }
    int twipsX(int pixels) const { return ::MulDiv(pixels, twipsPerInch, m_dpiX); }
    int twipsY(int pixels) const { return ::MulDiv(pixels, twipsPerInch, m_dpiY); }

    const ControlDesign& row(int control) const { return m_design.controls[std::size_t(control)]; }
    Item& item(int control) { return m_items.at(std::size_t(control)); }
    const Item& item(int control) const { return m_items.at(std::size_t(control)); }
    int rowOf(HWND hwnd) const;

    HFONT font(const FontDesign& design);
    void createChildren(HWND parent, int container);
    void createControl(HWND parent, int control);
    void buildMenu();
    void addToolTip(int control);
    void place(int control);
    void autoSize(int control);
    void clipOverlaps(int container);
    void paint(HWND hwnd, int container);
    void paintContainer(HWND hwnd, int container, HDC dc);
    void rescale(int dpiX, int dpiY, const RECT& suggested);
    void drawPicture(const DRAWITEMSTRUCT& draw);
    void focusFirst();
    void clickRow(int control);
    // Takes the window down with every handle it holds.
    void release();

    const FormDesign& m_design;
    EventSink& m_sink;
    int m_dpiX = standardDpi;
    int m_dpiY = standardDpi;
    HWND m_root = nullptr;
    HWND m_toolTips = nullptr;
    HMENU m_menuBar = nullptr;
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
    std::vector<Item> m_items;
    std::vector<std::pair<FontDesign, HFONT>> m_fonts;
    std::wstring m_caption;
    int m_defaultRow = -1;
    int m_cancelRow = -1;
    int m_pendingFocus = -1;
    bool m_dialogKeys = false;
    bool m_shown = false;
    bool m_ready = false;
    HWND m_pressed = nullptr; // the container the left button went down on
    std::function<void()> m_firstPaint;
};

WinWindow::WinWindow(const FormDesign& design, EventSink& sink) : m_design(design), m_sink(sink) {
    registerClasses();
    {
        HDC screen = ::GetDC(nullptr);
        m_dpiX = ::GetDeviceCaps(screen, LOGPIXELSX);
        m_dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
    }
    m_items.resize(design.controls.size());
    for (std::size_t i = 0; i < design.controls.size(); ++i) {
        const ControlDesign& control = design.controls[i];
        Item& entry = m_items[i];
        entry.rect = control.rect;
        entry.visible = true;
        entry.enabled = !control.disabled;
        entry.parent = containerRow(m_design, int(i));
        if (control.toolTip)
            entry.toolTip = win::wide(control.toolTip);
        for (const TabDesign& tab : control.tabs)
            entry.tabToolTips.push_back(win::wide(tab.toolTip ? tab.toolTip : ""));
        entry.menuText = control.text;
    }
    m_dialogKeys = !tabOrder(design).empty();
    m_defaultRow = defaultButtonRow(design);
    m_cancelRow = cancelButtonRow(design);
    buildMenu();

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
    RECT frame{0, 0, pixelsX(design.clientWidth), pixelsY(design.clientHeight)};
    if (design.position)
        ::OffsetRect(&frame, pixelsX(design.position->x), pixelsY(design.position->y));
    ::AdjustWindowRectEx(&frame, style, m_menuBar != nullptr, exStyle);
    if (!design.position)
        ::OffsetRect(&frame, -frame.left, -frame.top);
    m_caption = win::wide(design.caption);
    m_root = ::CreateWindowExW(exStyle, formClass, m_caption.c_str(), style, frame.left, frame.top,
                               frame.right - frame.left, frame.bottom - frame.top, nullptr,
                               m_menuBar, module(), this);
    if (!m_root) {
        release();
        throw RuntimeError::of(RuntimeError::OutOfMemory);
    }
    try {
        ::SendMessageW(m_root, WM_SETFONT, reinterpret_cast<WPARAM>(font(design.font)), FALSE);
        if (design.icon) {
            const auto load = [](int size) {
                return static_cast<HICON>(::LoadImageW(
                    module(), MAKEINTRESOURCEW(QUORVEX_ICON_PROGRAM), IMAGE_ICON, size, size, 0));
            };
            m_bigIcon = load(::GetSystemMetrics(SM_CXICON));
            m_smallIcon = load(::GetSystemMetrics(SM_CXSMICON));
            ::SendMessageW(m_root, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon));
            ::SendMessageW(m_root, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon));
        }
        m_toolTips =
            ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, m_root, nullptr, module(), nullptr);
        createChildren(m_root, -1);
        if (m_defaultRow >= 0)
            ::SendMessageW(m_root, DM_SETDEFID, WPARAM(firstId + m_defaultRow), 0);
    } catch (...) {
        release();
        throw;
    }
    m_ready = true;
}

WinWindow::~WinWindow() {
    release();
}

void WinWindow::release() {
    if (m_root) {
        // Nothing that the destruction sends may reach this object any more.
        ::SetWindowLongPtrW(m_root, GWLP_USERDATA, 0);
        ::DestroyWindow(m_root);
    } else if (m_menuBar) {
        ::DestroyMenu(m_menuBar);
    }
    m_root = nullptr;
    m_menuBar = nullptr;
    for (auto& [design, handle] : m_fonts)
        ::DeleteObject(handle);
    m_fonts.clear();
    for (Item& entry : m_items)
        if (entry.icon)
            ::DestroyIcon(std::exchange(entry.icon, nullptr));
    for (HICON icon : {std::exchange(m_bigIcon, nullptr), std::exchange(m_smallIcon, nullptr)})
        if (icon)
            ::DestroyIcon(icon);
}

WinWindow* WinWindow::fromRoot(HWND root) {
    if (!root || static_cast<ATOM>(::GetClassLongPtrW(root, GCW_ATOM)) != formAtom)
        return nullptr;
    return reinterpret_cast<WinWindow*>(::GetWindowLongPtrW(root, GWLP_USERDATA));
}

int WinWindow::rowOf(HWND hwnd) const {
    if (!hwnd)
        return -1;
    const int control = ::GetDlgCtrlID(hwnd) - firstId;
    return control >= 0 && control < int(m_design.controls.size()) && item(control).hwnd == hwnd
               ? control
               : -1;
}

HFONT WinWindow::font(const FontDesign& design) {
    for (const auto& [known, handle] : m_fonts)
        if (sameFont(known, design))
            return handle;
    LOGFONTW logFont{};
    logFont.lfHeight = -int(std::lround(design.points * m_dpiY / pointsPerInch));
    logFont.lfWeight = design.weight;
    logFont.lfItalic = design.italic;
    logFont.lfUnderline = design.underline;
    logFont.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = win::wide(design.face);
    face.copy(logFont.lfFaceName, LF_FACESIZE - 1);
    HFONT handle = ::CreateFontIndirectW(&logFont);
    if (!handle)
        throw RuntimeError::of(RuntimeError::OutOfMemory);
    m_fonts.emplace_back(design, handle);
    return handle;
}

void WinWindow::createChildren(HWND parent, int container) {
    HWND previous = HWND_TOP;
    for (int control : stackingOrder(m_design, container)) {
        createControl(parent, control);
        HWND hwnd = item(control).hwnd;
        if (!hwnd)
            continue; // drawn by its container
        ::SetWindowPos(hwnd, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = hwnd;
        if (isContainer(row(control).kind))
            createChildren(hwnd, control);
    }
    clipOverlaps(container);
}

void WinWindow::createControl(HWND parent, int control) {
    const ControlDesign& design = row(control);
    Item& entry = item(control);
    // Each control a group of its own, so that the arrow keys move no focus between them.
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_GROUP;
    DWORD exStyle = 0;
    const wchar_t* className = L"STATIC";
    std::wstring text = win::wide(design.text);
    if (takesFocus(design))
        style |= WS_TABSTOP;
    if (design.disabled)
        style |= WS_DISABLED;
    switch (design.kind) {
    case Label:
        // Labels take their clicks, so that a click on one never counts as its frame's.
        style |= (design.alignRight ? SS_RIGHT : SS_LEFT) | SS_NOTIFY;
        break;
    case TextBox:
        className = L"EDIT";
        style |= ES_AUTOHSCROLL | (design.readOnly ? ES_READONLY : 0);
        exStyle |= WS_EX_CLIENTEDGE;
        break;
    case ComboBox:
    case DropDownList:
        className = WC_COMBOBOXW;
        style |= WS_VSCROLL |
                 (design.kind == ComboBox ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST);
        break;
    case CheckBox:
        className = L"BUTTON";
        style |= BS_AUTOCHECKBOX;
        break;
    case CommandButton:
        className = L"BUTTON";
        style |= design.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        break;
    case PictureBox:
    case Image:
        style |= SS_OWNERDRAW | SS_NOTIFY;
        if (design.sunken)
            exStyle |= WS_EX_CLIENTEDGE;
        break;
    case Frame:
    case Panel:
        className = containerClass;
        style |= WS_CLIPCHILDREN;
        exStyle |= WS_EX_CONTROLPARENT;
        break;
    case TabStrip:
        className = WC_TABCONTROLW;
        style |= TCS_TOOLTIPS | TCS_FOCUSONBUTTONDOWN;
        break;
    case Line:
    case Menu:
    case MenuItem:
        return;
    }
    entry.hwnd =
        ::CreateWindowExW(exStyle, className, text.c_str(), style, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(INT_PTR(firstId + control)), module(), nullptr);
    if (!entry.hwnd)
        throw RuntimeError::of(RuntimeError::OutOfMemory);
    if (isContainer(design.kind))
        ::SetWindowLongPtrW(entry.hwnd, GWLP_USERDATA, LONG_PTR(control));
    ::SendMessageW(entry.hwnd, WM_SETFONT,
                   reinterpret_cast<WPARAM>(font(design.font ? *design.font : m_design.font)),
                   FALSE);

    if (design.kind == ComboBox)
        ::SetWindowTextW(entry.hwnd, text.c_str()); // a combo box takes no text at its making
    for (const char* listItem : design.items)
        ::SendMessageW(entry.hwnd, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(win::wide(listItem).c_str()));
    for (std::size_t tab = 0; tab < design.tabs.size(); ++tab) {
        std::wstring caption = win::wide(design.tabs[tab].caption);
        TCITEMW tabItem{};
        tabItem.mask = TCIF_TEXT;
        tabItem.pszText = caption.data();
        ::SendMessageW(entry.hwnd, TCM_INSERTITEMW, tab, reinterpret_cast<LPARAM>(&tabItem));
    }
    if (design.picture != Picture::None) {
        const int id = design.picture == Picture::Horse ? QUORVEX_ICON_HORSE : QUORVEX_ICON_PROGRAM;
        // An image stretches the largest picture; a picture box shows it at its own size.
        const int size = design.kind == Image ? 48 : ::MulDiv(pictureSize, m_dpiX, standardDpi);
        entry.icon = static_cast<HICON>(
            ::LoadImageW(module(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
    }
    if (design.accessibleName)
        win::setAccessibleName(entry.hwnd, win::wide(design.accessibleName));
    place(control);
    if (design.autoSize)
        autoSize(control);
    addToolTip(control);
}

void WinWindow::buildMenu() {
    for (int control = 0; control < int(m_design.controls.size()); ++control) {
        const ControlDesign& design = row(control);
        if (design.kind != Menu && design.kind != MenuItem)
            continue;
        if (!m_menuBar)
            m_menuBar = ::CreateMenu();
        const std::wstring text = win::wide(design.text);
        Item& entry = item(control);
        if (design.kind == Menu) {
            entry.menu = ::CreatePopupMenu();
            ::AppendMenuW(m_menuBar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(entry.menu),
                          text.c_str());
        } else if (entry.parent >= 0 && item(entry.parent).menu) {
            entry.menu = item(entry.parent).menu;
            ::AppendMenuW(entry.menu, MF_STRING, UINT_PTR(firstId + control), text.c_str());
        }
    }
}

void WinWindow::addToolTip(int control) {
    Item& entry = item(control);
    if (!m_toolTips || entry.toolTip.empty())
        return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_root;
    tool.uId = reinterpret_cast<UINT_PTR>(entry.hwnd);
    tool.lpszText = entry.toolTip.data();
    ::SendMessageW(m_toolTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void WinWindow::place(int control) {
    const Item& entry = item(control);
    int height = pixelsY(entry.rect.height);
    const ControlKind kind = row(control).kind;
    if (kind == ComboBox || kind == DropDownList)
        height *= listRows; // the field keeps the height its font gives; the rest is the list's
    ::SetWindowPos(entry.hwnd, nullptr, pixelsX(entry.rect.left), pixelsY(entry.rect.top),
                   pixelsX(entry.rect.width), height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A label of auto size takes its caption's extent in its font; one aligned right keeps its
// right edge where it was.
void WinWindow::autoSize(int control) {
    Item& entry = item(control);
    const std::wstring text = windowText(entry.hwnd);
    HDC dc = ::GetDC(entry.hwnd);
    HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(entry.hwnd, WM_GETFONT, 0, 0)));
    RECT extent{};
    ::DrawTextW(dc, text.c_str(), int(text.size()), &extent, DT_CALCRECT | DT_EXPANDTABS);
    ::SelectObject(dc, old);
    ::ReleaseDC(entry.hwnd, dc);
    const int width = twipsX(extent.right - extent.left);
    if (row(control).alignRight)
        entry.rect.left += entry.rect.width - width;
    entry.rect.width = width;
    entry.rect.height = twipsY(extent.bottom - extent.top);
    place(control);
}

// The design stacks a container's controls in the order of its table, the later above, with a
// tab strip beneath everything on its page; the windows are stacked in the Tab order instead.
// Where the two disagree and controls overlap, the one the windows put on top leaves the other's
// place out of its region, so that it neither draws over it nor takes its clicks.
void WinWindow::clipOverlaps(int container) {
    std::vector<int> stacked;
    for (HWND child = ::GetWindow(container >= 0 ? item(container).hwnd : m_root, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT))
        if (const int control = rowOf(child); control >= 0)
            stacked.push_back(control);
    const auto designAbove = [this](int upper, int lower) {
        if (row(lower).kind == TabStrip || row(upper).kind == TabStrip)
            return row(lower).kind == TabStrip && row(upper).kind != TabStrip;
        return upper > lower;
    };
    std::vector<RECT> places(stacked.size());
    for (std::size_t i = 0; i < stacked.size(); ++i)
        ::GetWindowRect(item(stacked[i]).hwnd, &places[i]);
    for (std::size_t top = 0; top < stacked.size(); ++top) {
        Item& upper = item(stacked[top]);
        const RECT& own = places[top];
        std::vector<RECT> holes;
        for (std::size_t below = top + 1; below < stacked.size(); ++below) {
            RECT overlap{};
            if (!designAbove(stacked[below], stacked[top]) ||
                !(::GetWindowLongW(item(stacked[below]).hwnd, GWL_STYLE) & WS_VISIBLE) ||
                !::IntersectRect(&overlap, &own, &places[below]))
                continue;
            ::OffsetRect(&overlap, -own.left, -own.top);
            holes.push_back(overlap);
        }
        const auto same = [](const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; };
        if (std::equal(holes.begin(), holes.end(), upper.holes.begin(), upper.holes.end(), same))
            continue;
        upper.holes = holes;
        HRGN region = nullptr;
        if (!holes.empty()) {
            region = ::CreateRectRgn(0, 0, own.right - own.left, own.bottom - own.top);
            for (const RECT& hole : holes) {
                HRGN cut = ::CreateRectRgnIndirect(&hole);
                ::CombineRgn(region, region, cut, RGN_DIFF);
                ::DeleteObject(cut);
            }
        }
        ::SetWindowRgn(upper.hwnd, region, TRUE); // the system owns the region now
    }
}

// A container's own drawing: a frame's etched border and caption, and the lines that stand on
// it, beneath its controls.
void WinWindow::paint(HWND hwnd, int container) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd, &paint);
    paintContainer(hwnd, container, dc);
    ::EndPaint(hwnd, &paint);
}

void WinWindow::paintContainer(HWND hwnd, int container, HDC dc) {
    if (container >= 0 && row(container).kind == Frame) {
        RECT border{};
        ::GetClientRect(hwnd, &border);
        const std::wstring caption = windowText(hwnd);
        HGDIOBJ old =
            ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc, &metrics);
        if (!caption.empty())
            border.top += metrics.tmHeight / 2;
        ::DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
        if (!caption.empty()) {
            RECT text{pixelsX(90), 0, 0, metrics.tmHeight};
            ::DrawTextW(dc, caption.c_str(), int(caption.size()), &text,
                        DT_CALCRECT | DT_SINGLELINE);
            ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
            ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
            ::SetBkMode(dc, OPAQUE);
            ::DrawTextW(dc, caption.c_str(), int(caption.size()), &text, DT_SINGLELINE);
        }
        ::SelectObject(dc, old);
    }
    for (int line = 0; line < int(m_design.controls.size()); ++line) {
        const ControlDesign& design = row(line);
        if (design.kind != Line || item(line).parent != container || !item(line).visible)
            continue;
        const Colour colour = design.colour.value_or(Colour{});
        HPEN pen = ::CreatePen(PS_SOLID, std::max(1, design.lineWidth),
                               RGB(colour.red, colour.green, colour.blue));
        HGDIOBJ old = ::SelectObject(dc, pen);
        ::MoveToEx(dc, pixelsX(design.from.x), pixelsY(design.from.y), nullptr);
        ::LineTo(dc, pixelsX(design.to.x), pixelsY(design.to.y));
        ::SelectObject(dc, old);
        ::DeleteObject(pen);
    }
}

void WinWindow::drawPicture(const DRAWITEMSTRUCT& draw) {
    const int control = int(draw.CtlID) - firstId;
    if (control < 0 || control >= int(m_design.controls.size()))
        return;
    ::FillRect(draw.hDC, &draw.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    const Item& entry = item(control);
    if (!entry.icon)
        return;
    const bool stretch = row(control).kind == Image;
    const int size = ::MulDiv(pictureSize, m_dpiX, standardDpi);
    ::DrawIconEx(draw.hDC, draw.rcItem.left, draw.rcItem.top, entry.icon,
                 stretch ? draw.rcItem.right - draw.rcItem.left : size,
                 stretch ? draw.rcItem.bottom - draw.rcItem.top : size, 0, nullptr, DI_NORMAL);
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
    HWND first = m_pendingFocus >= 0 ? item(m_pendingFocus).hwnd
                                     : ::GetNextDlgTabItem(m_root, nullptr, FALSE);
    m_pendingFocus = -1;
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
    ::SetWindowTextW(m_root, win::wide(caption).c_str());
}

// Draws whatever waits to be drawn, the controls included, at once: only paint messages are
// sent, so no input is handled meanwhile.
void WinWindow::paintNow() {
    ::RedrawWindow(m_root, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

TwipsRect WinWindow::frame() const {
    RECT frame{};
    ::GetWindowRect(m_root, &frame);
    return {twipsX(frame.left), twipsY(frame.top), twipsX(frame.right - frame.left),
            twipsY(frame.bottom - frame.top)};
}

TwipsRect WinWindow::screen() const {
    return {0, 0, twipsX(::GetSystemMetrics(SM_CXSCREEN)), twipsY(::GetSystemMetrics(SM_CYSCREEN))};
}

void WinWindow::moveFrame(int left, int top) {
    ::SetWindowPos(m_root, nullptr, pixelsX(left), pixelsY(top), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string WinWindow::text(int control) const {
    const ControlDesign& design = row(control);
    const Item& entry = item(control);
    switch (design.kind) {
    case Menu:
    case MenuItem:
        return entry.menuText;
    case Line:
    case TabStrip:
        return {};
    case DropDownList: {
        const LRESULT chosen = ::SendMessageW(entry.hwnd, CB_GETCURSEL, 0, 0);
        if (chosen == CB_ERR)
            return {};
        std::wstring text(
            std::size_t(::SendMessageW(entry.hwnd, CB_GETLBTEXTLEN, WPARAM(chosen), 0)) + 1, L'\0');
        text.resize(std::size_t(::SendMessageW(entry.hwnd, CB_GETLBTEXT, WPARAM(chosen),
                                               reinterpret_cast<LPARAM>(text.data()))));
        return win::utf8(text);
    }
    default:
        return win::utf8(windowText(entry.hwnd));
    }
}

void WinWindow::setText(int control, const std::string& text) {
    const ControlDesign& design = row(control);
    Item& entry = item(control);
    const std::wstring wideText = win::wide(text);
    switch (design.kind) {
    case Menu:
    case MenuItem: {
        entry.menuText = text;
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<wchar_t*>(wideText.c_str());
        if (design.kind == MenuItem)
            ::SetMenuItemInfoW(entry.menu, UINT(firstId + control), FALSE, &info);
        ::DrawMenuBar(m_root);
        return;
    }
    case Line:
    case TabStrip:
        return;
    case DropDownList: {
        // Only an item of exactly this text is chosen, case included; any other text, none.
        const int count = int(::SendMessageW(entry.hwnd, CB_GETCOUNT, 0, 0));
        int chosen = -1;
        for (int i = 0; i < count && chosen < 0; ++i) {
            std::wstring itemText(
                std::size_t(::SendMessageW(entry.hwnd, CB_GETLBTEXTLEN, WPARAM(i), 0)) + 1, L'\0');
            itemText.resize(std::size_t(::SendMessageW(entry.hwnd, CB_GETLBTEXT, WPARAM(i),
                                                       reinterpret_cast<LPARAM>(itemText.data()))));
            if (itemText == wideText)
                chosen = i;
        }
        ::SendMessageW(entry.hwnd, CB_SETCURSEL, WPARAM(chosen), 0);
        return;
    }
    default:
        ::SetWindowTextW(entry.hwnd, wideText.c_str());
        if (design.kind == Frame)
            ::InvalidateRect(entry.hwnd, nullptr, TRUE);
        if (design.autoSize) {
            autoSize(control);
            clipOverlaps(entry.parent);
        }
        return;
    }
}

bool WinWindow::isVisible(int control) const {
    const Item& entry = item(control);
    // The control's own flag, whether or not its window is shown.
    return entry.hwnd ? (::GetWindowLongW(entry.hwnd, GWL_STYLE) & WS_VISIBLE) != 0 : entry.visible;
}

void WinWindow::setVisible(int control, bool visible) {
    Item& entry = item(control);
    entry.visible = visible;
    if (entry.hwnd) {
        ::ShowWindow(entry.hwnd, visible ? SW_SHOWNA : SW_HIDE);
        clipOverlaps(entry.parent);
    } else if (row(control).kind == Line) {
        ::InvalidateRect(entry.parent >= 0 ? item(entry.parent).hwnd : m_root, nullptr, TRUE);
    }
}

bool WinWindow::isEnabled(int control) const {
    const Item& entry = item(control);
    return entry.hwnd ? ::IsWindowEnabled(entry.hwnd) != FALSE : entry.enabled;
}

void WinWindow::setEnabled(int control, bool enabled) {
    Item& entry = item(control);
    entry.enabled = enabled;
    if (entry.hwnd) {
        ::EnableWindow(entry.hwnd, enabled);
    } else if (row(control).kind == MenuItem && entry.menu) {
        ::EnableMenuItem(entry.menu, UINT(firstId + control),
                         MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    }
}

TwipsRect WinWindow::place(int control) const {
    return item(control).rect;
}

void WinWindow::setLeft(int control, int left) {
    Item& entry = item(control);
    entry.rect.left = left;
    if (!entry.hwnd)
        return;
    ::SetWindowPos(entry.hwnd, nullptr, pixelsX(left), pixelsY(entry.rect.top), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    clipOverlaps(entry.parent);
}

int WinWindow::value(int control) const {
    const Item& entry = item(control);
    switch (row(control).kind) {
    case CheckBox:
        return ::SendMessageW(entry.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    case TabStrip:
        return int(::SendMessageW(entry.hwnd, TCM_GETCURSEL, 0, 0)) + 1;
    default:
        return 0;
    }
}

void WinWindow::setValue(int control, int value) {
    const Item& entry = item(control);
    switch (row(control).kind) {
    case CheckBox:
        ::SendMessageW(entry.hwnd, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
        return;
    case TabStrip:
        if (value < 1 || value > int(row(control).tabs.size()) || value == this->value(control))
            return;
        // The system tells of the user's changes only; the program's are told here, alike.
        ::SendMessageW(entry.hwnd, TCM_SETCURSEL, WPARAM(value - 1), 0);
        raise({Event::Click, control});
        return;
    default:
        return;
    }
}

void WinWindow::setFocus(int control) {
    if (!::IsWindowVisible(m_root) || !m_shown) {
        m_pendingFocus = control;
        return;
    }
    if (HWND hwnd = item(control).hwnd)
        ::SendMessageW(m_root, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hwnd), TRUE);
}

void WinWindow::onFirstPaint(std::function<void()> callback) {
    m_firstPaint = std::move(callback);
}

void WinWindow::clickRow(int control) {
    if (control < 0)
        return;
    const Item& entry = item(control);
    if (entry.hwnd && (!::IsWindowEnabled(entry.hwnd) || !::IsWindowVisible(entry.hwnd)))
        return;
    raise({Event::Click, control});
}

LRESULT WinWindow::formMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    switch (message) {
    case WM_COMMAND: {
        if (!m_ready)
            break;
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        // Esc and Enter as the dialog keys report them: the cancel button, the default button.
        if (id == IDCANCEL) {
            clickRow(m_cancelRow);
            return 0;
        }
        if (id == IDOK) {
            clickRow(m_defaultRow);
            return 0;
        }
        const int control = id - firstId;
        if (control < 0 || control >= int(m_design.controls.size()))
            break;
        const ControlKind kind = row(control).kind;
        const bool menuChoice = kind == MenuItem && lParam == 0 && code == 0;
        const bool buttonClick =
            (kind == CommandButton || kind == CheckBox) && lParam != 0 && code == BN_CLICKED;
        if (menuChoice || buttonClick) {
            raise({Event::Click, control});
            return 0;
        }
        break;
    }
    case WM_NOTIFY: {
        if (!m_ready)
            break;
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.code == TCN_SELCHANGE) {
            const int control = rowOf(header.hwndFrom);
            if (control >= 0) {
                raise({Event::Click, control});
                return 0;
            }
        } else if (header.code == TTN_GETDISPINFOW) {
            for (int strip = 0; strip < int(m_design.controls.size()); ++strip) {
                const Item& entry = item(strip);
                if (row(strip).kind != TabStrip || !entry.hwnd ||
                    reinterpret_cast<HWND>(::SendMessageW(entry.hwnd, TCM_GETTOOLTIPS, 0, 0)) !=
                        header.hwndFrom)
                    continue;
                if (header.idFrom < entry.tabToolTips.size()) {
                    auto& info = *reinterpret_cast<NMTTDISPINFOW*>(lParam);
                    info.lpszText = const_cast<wchar_t*>(entry.tabToolTips[header.idFrom].c_str());
                    info.hinst = nullptr;
                }
                return 0;
            }
        }
        break;
    }
    case WM_CTLCOLORSTATIC: {
        const int control = rowOf(reinterpret_cast<HWND>(lParam));
        if (control < 0 || row(control).kind != Label || !row(control).colour)
            break;
        const Colour colour = *row(control).colour;
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, RGB(colour.red, colour.green, colour.blue));
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_DRAWITEM:
        drawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_PRINTCLIENT:
        paintContainer(m_root, -1, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_DPICHANGED:
        rescale(LOWORD(wParam), HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_PAINT:
        paint(m_root, -1);
        if (m_firstPaint) {
            const std::function<void()> callback = std::move(m_firstPaint);
            m_firstPaint = nullptr;
            callback();
        }
        return 0;
    case WM_CLOSE:
        raise({Event::Close});
        return 0;
    case DM_GETDEFID: {
        // Enter presses the push button that has the focus, however it got it, else the
        // default button.
        const int focus = rowOf(::GetFocus());
        const int pressed = focus >= 0 && row(focus).kind == CommandButton ? focus : m_defaultRow;
        return pressed >= 0 ? MAKELRESULT(firstId + pressed, DC_HASDEFID) : 0;
    }
    default:
        break;
    }
    handled = false;
    return 0;
}

LRESULT WinWindow::containerMessage(HWND hwnd, int container, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_DRAWITEM:
        // The window's code hears of its controls wherever they stand.
        return ::SendMessageW(m_root, message, wParam, lParam);
    case WM_SETFONT:
        item(container).font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            ::InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(item(container).font);
    case WM_PAINT:
        paint(hwnd, container);
        return 0;
    case WM_PRINTCLIENT:
        paintContainer(hwnd, container, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        m_pressed = hwnd;
        return 0;
    case WM_LBUTTONUP: {
        const bool pressedHere = m_pressed == hwnd;
        m_pressed = nullptr;
        RECT client{};
        ::GetClientRect(hwnd, &client);
        const POINT at{short(LOWORD(lParam)), short(HIWORD(lParam))};
        // A click on the frame's bare area: its labels and pictures take their own clicks.
        if (pressedHere && row(container).kind == Frame && ::PtInRect(&client, at))
            raise({Event::Click, container});
        return 0;
    }
    default:
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

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

LRESULT CALLBACK containerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        if (WinWindow* window = WinWindow::fromRoot(::GetAncestor(hwnd, GA_ROOT)))
            return window->containerMessage(hwnd, int(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)),
                                            message, wParam, lParam);
    } catch (...) {
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// Moved to a display of another density: the same twips in that density's pixels, the fonts
// made afresh for it, and the frame where the system suggests.
void WinWindow::rescale(int dpiX, int dpiY, const RECT& suggested) {
    m_dpiX = dpiX;
    m_dpiY = dpiY;
    std::vector<std::pair<FontDesign, HFONT>> oldFonts = std::move(m_fonts);
    m_fonts.clear();
    ::SendMessageW(m_root, WM_SETFONT, reinterpret_cast<WPARAM>(font(m_design.font)), FALSE);
    for (int control = 0; control < int(m_design.controls.size()); ++control) {
        const ControlDesign& design = row(control);
        if (!item(control).hwnd)
            continue;
        ::SendMessageW(item(control).hwnd, WM_SETFONT,
                       reinterpret_cast<WPARAM>(font(design.font ? *design.font : m_design.font)),
                       TRUE);
        place(control);
        if (design.autoSize)
            autoSize(control);
    }
    clipOverlaps(-1);
    for (int control = 0; control < int(m_design.controls.size()); ++control)
        if (isContainer(row(control).kind))
            clipOverlaps(control);
    for (auto& [design, handle] : oldFonts)
        ::DeleteObject(handle);
    ::SetWindowPos(m_root, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_root, nullptr, TRUE);
}

} // namespace

std::unique_ptr<NativeWindow> createNativeWindow(const FormDesign& design, EventSink& sink) {
    return std::make_unique<WinWindow>(design, sink);
}

namespace win {

HWND rootWindow(const NativeWindow& window) {
    return static_cast<const WinWindow&>(window).root();
}

HWND controlWindow(const NativeWindow& window, int control) {
    return static_cast<const WinWindow&>(window).controlHandle(control);
}

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

} // namespace win

} // namespace platform
