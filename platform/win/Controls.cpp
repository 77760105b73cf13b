// The kinds of control, each a small adapter over the system's own control: how it is made,
// what its text and value are, and which of the messages about it tell of the user's click.
// Frames and panels are in Container.cpp; what all kinds share in WinControl.cpp.
#include "platform/win/WinControl.h"

#include "platform/win/Painting.h"
#include "platform/win/WideText.h"
#include "platform/win/WinWindow.h"
#include "resources/win/ResourceIds.h"

#include <commctrl.h>
#include <oleacc.h>

#include <utility>

namespace platform::win {

namespace {

using enum ControlKind;

// Room for a combo box's list below its field.
constexpr int listRows = 8;
// The pictures are 16 x 16 pixels at the standard density; an image stretches the largest one.
constexpr int pictureSize = 16;
constexpr int largestPicture = 48;

std::wstring listItem(HWND list, WPARAM index) {
    std::wstring text(std::size_t(::SendMessageW(list, CB_GETLBTEXTLEN, index, 0)) + 1, L'\0');
    text.resize(std::size_t(
        ::SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

// A caption; it takes its clicks, so that a click on one never counts as its frame's.
class LabelControl final : public WinControl {
public:
    using WinControl::WinControl;

    void setText(const std::string& text) override {
        WinControl::setText(text);
        if (design().autoSize) {
            place();
            m_window.clipOverlaps(container());
        }
    }
    HBRUSH colours(HDC dc) const override {
        if (!design().colour)
            return nullptr;
        const Colour colour = *design().colour;
        ::SetTextColor(dc, RGB(colour.red, colour.green, colour.blue));
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        return ::GetSysColorBrush(COLOR_BTNFACE);
    }

private:
    Creation creation() const override {
        return {L"STATIC", DWORD(design().alignRight ? SS_RIGHT : SS_LEFT) | SS_NOTIFY};
    }
    // A label of auto size takes its caption's extent in its font, measured before its window
    // is there; one aligned right keeps its right edge where it was.
    RECT placement() override {
        if (!design().autoSize)
            return WinControl::placement();
        const std::wstring text = m_hwnd ? windowText(m_hwnd) : wide(design().text);
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, m_window.fontOf(design()));
        RECT extent{};
        ::DrawTextW(dc, text.c_str(), int(text.size()), &extent, DT_CALCRECT | DT_EXPANDTABS);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        const Density& density = m_window.density();
        const int width = density.twipsX(extent.right - extent.left);
        if (design().alignRight)
            m_rect.left += m_rect.width - width;
        m_rect.width = width;
        m_rect.height = density.twipsY(extent.bottom - extent.top);
        return WinControl::placement();
    }
};

class TextBoxControl final : public WinControl {
public:
    using WinControl::WinControl;

private:
    Creation creation() const override {
        return {L"EDIT", DWORD(ES_AUTOHSCROLL | (design().readOnly ? ES_READONLY : 0)),
                WS_EX_CLIENTEDGE};
    }
};

// A combo box or a drop-down list, with its items.
class ListControl : public WinControl {
public:
    using WinControl::WinControl;

protected:
    void created() override {
        for (const char* item : design().items)
            ::SendMessageW(m_hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
    }
    // The field keeps the height its font gives; the rest is the list's.
    RECT placement() override {
        RECT at = WinControl::placement();
        at.bottom = at.top + (at.bottom - at.top) * listRows;
        return at;
    }
};

// Its edit field, which takes the focus, answers screen readers with the combo box's name and
// text.
class ComboBoxControl final : public ListControl {
public:
    using ListControl::ListControl;

private:
    struct EditField final : AccessibleAnswers {
        explicit EditField(const ComboBoxControl& combo) : combo(combo) {}
        std::optional<std::wstring> accessibleName() const override {
            return combo.accessibleName();
        }
        long accessibleRole() const override { return ROLE_SYSTEM_TEXT; }
        std::optional<std::wstring> accessibleValue() const override {
            return combo.accessibleValue();
        }
        const ComboBoxControl& combo;
    };

    Creation creation() const override {
        return {WC_COMBOBOXW, WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL};
    }
    void created() override {
        ::SetWindowTextW(m_hwnd, wide(design().text).c_str()); // it takes no text at its making
        ListControl::created();
        COMBOBOXINFO combo{};
        combo.cbSize = sizeof combo;
        if (::GetComboBoxInfo(m_hwnd, &combo) && combo.hwndItem && combo.hwndItem != m_hwnd)
            m_editAccessible.serve(combo.hwndItem, m_editField);
    }

    EditField m_editField{*this};
    AccessibleServer m_editAccessible;
};

// Its text is the chosen item's. Screen readers hear of every change of the choice, the
// user's and the program's, which the system tells them of in part only.
class DropDownListControl final : public ListControl {
public:
    using ListControl::ListControl;

    void commanded(int code) override {
        if (code == CBN_SELCHANGE)
            valueChanged();
    }

    std::string text() const override {
        const LRESULT chosen = ::SendMessageW(m_hwnd, CB_GETCURSEL, 0, 0);
        return chosen == CB_ERR ? std::string() : utf8(listItem(m_hwnd, WPARAM(chosen)));
    }
    // Only an item of exactly this text is chosen, case included; any other text, none.
    void setText(const std::string& text) override {
        const std::wstring wanted = wide(text);
        const int count = int(::SendMessageW(m_hwnd, CB_GETCOUNT, 0, 0));
        int chosen = -1;
        for (int i = 0; i < count && chosen < 0; ++i)
            if (listItem(m_hwnd, WPARAM(i)) == wanted)
                chosen = i;
        const LRESULT before = ::SendMessageW(m_hwnd, CB_GETCURSEL, 0, 0);
        ::SendMessageW(m_hwnd, CB_SETCURSEL, WPARAM(chosen), 0);
        if (before != ::SendMessageW(m_hwnd, CB_GETCURSEL, 0, 0))
            valueChanged();
    }

private:
    void valueChanged() const {
        ::NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, m_hwnd, OBJID_CLIENT, CHILDID_SELF);
    }
    Creation creation() const override { return {WC_COMBOBOXW, WS_VSCROLL | CBS_DROPDOWNLIST}; }
};

class CommandButtonControl final : public WinControl {
public:
    using WinControl::WinControl;

    bool clickedBy(int code, LPARAM lParam) const override {
        return lParam != 0 && code == BN_CLICKED;
    }
    bool isPushButton() const override { return true; }

private:
    Creation creation() const override {
        return {L"BUTTON", DWORD(design().defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)};
    }
};

// Its value: 0 unchecked, 1 checked.
class CheckBoxControl final : public WinControl {
public:
    using WinControl::WinControl;

    bool clickedBy(int code, LPARAM lParam) const override {
        return lParam != 0 && code == BN_CLICKED;
    }
    int value() const override {
        return ::SendMessageW(m_hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    }
    void setValue(int value) override {
        ::SendMessageW(m_hwnd, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    }

private:
    Creation creation() const override { return {L"BUTTON", BS_AUTOCHECKBOX}; }
};

// A picture box shows its picture at its own size in the window's density, from the corner; an
// image stretches the largest picture over its box. The system draws neither: the window hands
// WM_DRAWITEM on to draw().
class PictureControl final : public WinControl {
public:
    using WinControl::WinControl;
    ~PictureControl() override { destroyIcon(std::exchange(m_icon, nullptr)); }

    void draw(const DRAWITEMSTRUCT& draw) const override {
        drawPicture(draw.hDC, draw.rcItem, m_icon, stretches() ? 0 : pictureSide());
    }
    // The picture loaded afresh at the new density, so that it stays crisp.
    void rescale() override {
        WinControl::rescale();
        if (!stretches())
            destroyIcon(std::exchange(m_icon, loadPicture()));
    }

private:
    Creation creation() const override {
        return {L"STATIC", SS_OWNERDRAW | SS_NOTIFY, DWORD(design().sunken ? WS_EX_CLIENTEDGE : 0)};
    }
    void created() override { m_icon = loadPicture(); }

    bool stretches() const { return design().kind == Image; }
    int pictureSide() const { return m_window.density().scaled(pictureSize); }
    HICON loadPicture() const {
        if (design().picture == Picture::None)
            return nullptr;
        const int id =
            design().picture == Picture::Horse ? QUORVEX_ICON_HORSE : QUORVEX_ICON_PROGRAM;
        return loadIcon(id, stretches() ? largestPicture : pictureSide());
    }

    HICON m_icon = nullptr;
};

// Its value: the selected tab's 1-based index.
class TabStripControl final : public WinControl {
public:
    TabStripControl(WinWindow& window, int row) : WinControl(window, row) {
        for (const TabDesign& tab : design().tabs)
            m_toolTips.push_back(wide(tab.toolTip ? tab.toolTip : ""));
    }

    std::string text() const override { return {}; }
    void setText(const std::string&) override {}
    int value() const override { return int(::SendMessageW(m_hwnd, TCM_GETCURSEL, 0, 0)) + 1; }
    void setValue(int value) override {
        if (value < 1 || value > int(design().tabs.size()) || value == this->value())
            return;
        // The system tells of the user's changes only; the program's are told here, alike.
        ::SendMessageW(m_hwnd, TCM_SETCURSEL, WPARAM(value - 1), 0);
        m_window.raise({Event::Click, row()});
    }
    // A change of tab is a click of the strip; its tool tips ask for each tab's text.
    bool notify(const NMHDR& header, LPARAM lParam) override {
        if (header.code == TCN_SELCHANGE && header.hwndFrom == m_hwnd) {
            m_window.raise({Event::Click, row()});
            return true;
        }
        if (header.code != TTN_GETDISPINFOW ||
            reinterpret_cast<HWND>(::SendMessageW(m_hwnd, TCM_GETTOOLTIPS, 0, 0)) !=
                header.hwndFrom)
            return false;
        if (header.idFrom < m_toolTips.size()) {
            auto& info = *reinterpret_cast<NMTTDISPINFOW*>(lParam);
            info.lpszText = const_cast<wchar_t*>(m_toolTips[header.idFrom].c_str());
            info.hinst = nullptr;
        }
        return true;
    }

private:
    Creation creation() const override {
        return {WC_TABCONTROLW, TCS_TOOLTIPS | TCS_FOCUSONBUTTONDOWN};
    }
    void created() override {
        const auto& tabs = design().tabs;
        for (std::size_t tab = 0; tab < tabs.size(); ++tab) {
            std::wstring caption = wide(tabs[tab].caption);
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = caption.data();
            ::SendMessageW(m_hwnd, TCM_INSERTITEMW, tab, reinterpret_cast<LPARAM>(&item));
        }
    }

    std::vector<std::wstring> m_toolTips;
};

// A line has no window: its container draws it, beneath its controls.
class LineControl final : public WinControl {
public:
    using WinControl::WinControl;

    void create(HWND) override {}
    std::string text() const override { return {}; }
    void setText(const std::string&) override {}
    void setVisible(bool visible) override {
        m_visible = visible;
        redrawContainer();
    }
    void paintOn(HDC dc) const override {
        if (m_visible)
            drawLine(dc, design(), m_window.density());
    }
};

// A menu of the menu bar, or an entry of one; no window of its own either.
class MenuControl final : public WinControl {
public:
    using WinControl::WinControl;

    void create(HWND) override {}
    void addToMenuBar(HMENU& bar) override {
        if (!bar)
            bar = ::CreateMenu();
        const std::wstring text = wide(design().text);
        if (!isEntry()) {
            m_menu = ::CreatePopupMenu();
            ::AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(m_menu),
                          text.c_str());
        } else if (container() >= 0 &&
                   m_window.design().controls[std::size_t(container())].kind == Menu) {
            m_menu = static_cast<const MenuControl&>(m_window.control(container())).m_menu;
            if (m_menu)
                ::AppendMenuW(m_menu, MF_STRING, UINT_PTR(firstId + row()), text.c_str());
        }
    }
    std::string text() const override { return m_text; }
    void setText(const std::string& text) override {
        m_text = text;
        if (isEntry()) {
            std::wstring wideText = wide(text);
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_STRING;
            info.dwTypeData = wideText.data();
            ::SetMenuItemInfoW(m_menu, UINT(firstId + row()), FALSE, &info);
        }
        ::DrawMenuBar(m_window.root());
    }
    void setEnabled(bool enabled) override {
        m_enabled = enabled;
        if (isEntry() && m_menu)
            ::EnableMenuItem(m_menu, UINT(firstId + row()),
                             MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    }
    // A choice of an entry comes as a command from no control.
    bool clickedBy(int code, LPARAM lParam) const override {
        return isEntry() && lParam == 0 && code == 0;
    }

private:
    bool isEntry() const { return design().kind == MenuItem; }

    std::string m_text = design().text;
    HMENU m_menu = nullptr; // a menu's popup, or the popup an entry stands in
};

} // namespace

std::unique_ptr<WinControl> makeControl(WinWindow& window, int row) {
    switch (window.design().controls[std::size_t(row)].kind) {
    case Label:
        return std::make_unique<LabelControl>(window, row);
    case TextBox:
        return std::make_unique<TextBoxControl>(window, row);
    case ComboBox:
        return std::make_unique<ComboBoxControl>(window, row);
    case DropDownList:
        return std::make_unique<DropDownListControl>(window, row);
    case CheckBox:
        return std::make_unique<CheckBoxControl>(window, row);
    case CommandButton:
        return std::make_unique<CommandButtonControl>(window, row);
    case PictureBox:
    case Image:
        return std::make_unique<PictureControl>(window, row);
    case Line:
        return std::make_unique<LineControl>(window, row);
    case Frame:
    case Panel:
        return makeContainer(window, row);
    case TabStrip:
        return std::make_unique<TabStripControl>(window, row);
    case Menu:
    case MenuItem:
        return std::make_unique<MenuControl>(window, row);
    }
    return nullptr;
}

} // namespace platform::win
