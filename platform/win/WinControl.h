#pragma once

#include "platform/Window.h"
#include "platform/win/Accessible.h"
#include "platform/win/Win32.h"

#include <memory>
#include <string>
#include <vector>

// The controls of the Win32 front end: one small class per kind of row, each making its system
// control and answering for its text, value, state and the messages about it. WinControl.cpp
// holds what all kinds share, Controls.cpp the kinds, Container.cpp frames and panels.
namespace platform::win {

class WinWindow;

class WinControl : public AccessibleAnswers {
public:
    WinControl(WinWindow& window, int row);
    virtual ~WinControl();
    WinControl(const WinControl&) = delete;
    WinControl& operator=(const WinControl&) = delete;

    // Makes the control's window in its container's, placed, in its font; lines and menus have
    // none.
    virtual void create(HWND parent);
    // Menus add themselves to the window's menu bar, made on the first one.
    virtual void addToMenuBar(HMENU& /*bar*/) {}

    int row() const { return m_row; }
    const ControlDesign& design() const;
    HWND hwnd() const { return m_hwnd; }
    // The container's row, -1 for the window's client area.
    int container() const { return m_container; }
    const TwipsRect& rect() const { return m_rect; }
    // The places of the controls above it that its region leaves out (Painting.cpp).
    std::vector<RECT>& holes() { return m_holes; }
    virtual bool isContainer() const { return false; }

    virtual std::string text() const;
    virtual void setText(const std::string& text);
    virtual bool isVisible() const;
    virtual void setVisible(bool visible);
    virtual bool isEnabled() const;
    virtual void setEnabled(bool enabled);
    void setLeft(int left);
    virtual int value() const { return 0; }
    virtual void setValue(int /*value*/) {}

    // The messages about the control, which its container hands on to the window.
    // WM_COMMAND: whether it tells of the user's click.
    virtual bool clickedBy(int /*code*/, LPARAM /*lParam*/) const { return false; }
    // WM_COMMAND from the control's own window, before that.
    virtual void commanded(int /*code*/) {}
    // WM_NOTIFY: whether the control answered it. It may have raised an event: then the window
    // may be gone.
    virtual bool notify(const NMHDR& /*header*/, LPARAM /*lParam*/) { return false; }
    // WM_CTLCOLORSTATIC: the brush of its background, or nullptr for the system's colours.
    virtual HBRUSH colours(HDC /*dc*/) const { return nullptr; }
    // WM_DRAWITEM, for the controls that draw themselves.
    virtual void draw(const DRAWITEMSTRUCT& /*draw*/) const {}
    // What the system draws not for it: a line on its container, beneath the container's
    // controls; a frame's border on itself.
    virtual void paintOn(HDC /*dc*/) const {}
    // Whether Enter presses it when it has the focus.
    virtual bool isPushButton() const { return false; }

    // Fonts, place and size again at the window's new density.
    virtual void rescale();

    // What screen readers hear of it (Accessible.h), from its row and as it stands.
    std::optional<std::wstring> accessibleName() const override;
    long accessibleRole() const override;
    std::optional<std::wstring> accessibleValue() const override;
    std::optional<std::wstring> accessibleDescription() const override;
    long accessibleState(long standard) const override;

protected:
    struct Creation {
        const wchar_t* className;
        DWORD style = 0;
        DWORD exStyle = 0;
    };
    // The system's class and the styles of this kind.
    virtual Creation creation() const { return {L"STATIC"}; }
    // What the kind does once its window is made, where placement() said.
    virtual void created() {}
    // Where the window goes, in pixels of its container at the window's density: where the
    // twips of its place are. Its window is made there, as moving it costs a round of messages.
    virtual RECT placement();
    // Moves the window to its placement.
    void place();
    void redrawContainer() const;

    WinWindow& m_window;
    HWND m_hwnd = nullptr;
    TwipsRect m_rect;
    bool m_visible = true;
    bool m_enabled = true;

private:
    int m_row;
    int m_container;
    std::wstring m_toolTip;
    std::vector<RECT> m_holes;
    AccessibleServer m_accessible;
};

// The control for a row of the window's table, by its kind (Controls.cpp).
std::unique_ptr<WinControl> makeControl(WinWindow& window, int row);
// A frame or a panel (Container.cpp).
std::unique_ptr<WinControl> makeContainer(WinWindow& window, int row);

// The window class of frames and panels, registered with the window's own (WinWindow.cpp).
constexpr wchar_t containerClass[] = L"QuorvexContainer";
LRESULT CALLBACK containerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

} // namespace platform::win
