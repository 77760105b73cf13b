#pragma once

#include "platform/Window.h"
#include "platform/win/Accessible.h"
#include "platform/win/Density.h"
#include "platform/win/Win32.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The window of the Win32 front end: one top-level window per form, built from its table, with
// one WinControl per row. The top-level windows are dialogs of a class of their own (DefDlgProc),
// so that the dialog manager keeps the focus across activations and moves the default-button
// look with the focus; the event loop feeds them through IsDialogMessage (MessageLoop.cpp).
namespace platform::win {

class WinControl;

// Control and menu ids are the row plus this, clear of IDOK and IDCANCEL.
constexpr int firstId = 1000;

HINSTANCE module();

// The text of a window, as the system keeps it.
std::wstring windowText(HWND hwnd);

class WinWindow final : public NativeWindow, private AccessibleAnswers {
public:
    WinWindow(const FormDesign& design, EventSink& sink);
    ~WinWindow() override;
    WinWindow(const WinWindow&) = delete;
    WinWindow& operator=(const WinWindow&) = delete;

    // The window behind a top-level window of the front end's class, or nullptr.
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
    void onFirstPaint(std::function<void()> callback) override;

    HWND root() const { return m_root; }
    const FormDesign& design() const { return m_design; }
    const Density& density() const { return m_density; }
    WinControl& control(int row) const { return *m_controls.at(std::size_t(row)); }
    // The window of a container row, or the client area's for -1.
    HWND containerWindow(int container) const;
    bool keyPreview() const { return m_design.keyPreview; }
    // Whether the dialog keys apply: a window with nothing to take the focus has its keys as
    // they are, so that each one reaches its character handler.
    bool dialogKeys() const { return m_dialogKeys; }

    // Tells the window's code. The window may be gone afterwards: touch nothing after this.
    void raise(const Event& event) noexcept { m_sink.handle(event); }

    // What the controls ask of their window.
    HFONT font(const FontDesign& design) { return m_fonts.font(design, m_density); }
    HFONT fontOf(const ControlDesign& design) { return font(design.font.value_or(m_design.font)); }
    void addToolTip(HWND hwnd, std::wstring& text);
    // A left button press on a container and its release: true when both were on that one.
    void pressOn(HWND container) { m_pressed = container; }
    bool releaseOn(HWND container) { return std::exchange(m_pressed, nullptr) == container; }

    // The message procedure's work (WindowMessages.cpp); handled false leaves the message to
    // the dialog manager.
    LRESULT formMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

    // Painting (Painting.cpp): where controls overlap, what a container draws beneath its
    // controls.
    void clipOverlaps(int container);
    void paint(HWND hwnd, int container);
    void paintContainer(int container, HDC dc);

private:
    // A dialog is read as one, with its labels' texts as its description (Accessible.h).
    std::optional<std::wstring> accessibleName() const override;
    long accessibleRole() const override;
    std::optional<std::wstring> accessibleDescription() const override;

    // The row of one of this window's controls, or -1.
    int rowOf(HWND hwnd) const;
    RECT frameAtDensity(DWORD style, DWORD exStyle) const;
    void createChildren(HWND parent, int container);
    void setIcons();
    void focusFirst();
    void clickRow(int control);
    // Density.cpp
    void rescale(int dpiX, int dpiY, const RECT& suggested);
    // Takes the window down with every handle it holds.
    void release();

    const FormDesign& m_design;
    EventSink& m_sink;
    Density m_density;
    FontCache m_fonts;
    std::vector<std::unique_ptr<WinControl>> m_controls;
    HWND m_root = nullptr;
    HWND m_toolTips = nullptr;
    HMENU m_menuBar = nullptr;
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
    int m_defaultRow = -1;
    int m_cancelRow = -1;
    bool m_dialogKeys = false;
    bool m_shown = false;
    bool m_ready = false;
    HWND m_pressed = nullptr; // the container the left button went down on
    std::function<void()> m_firstPaint;
    AccessibleServer m_accessible;
};

} // namespace platform::win
