#pragma once

#include "platform/Window.h"

#include <memory>
#include <string>

namespace platform {

class Form;

// A window's control as the window's code uses it, named as the window's member and found in
// the window's table by name (and index, in a control array).
class Control {
public:
    Control(Form& form, const char* name, int index = -1);

    Form& form() const { return *m_form; }
    int row() const { return m_row; }
    const ControlDesign& design() const;

    std::string text() const;
    void setText(const std::string& text);
    bool isVisible() const;
    void setVisible(bool visible);
    void hide() { setVisible(false); }
    bool isEnabled() const;
    void setEnabled(bool enabled);
    TwipsRect place() const;
    void setLeft(int left);
    // The number a control holds: a check box's 0 unchecked, 1 checked (setValue takes anything
    // else as checked); a tab strip's selected tab, from 1. Any other kind holds 0 and ignores
    // setValue. A kind that holds a number needs both front ends' reader and writer: valueOf
    // and setValueOf in platform/nix/ControlWidgets.cpp, its class's in platform/win/Controls.cpp.
    int value() const;
    void setValue(int value);

    // Whether the event is this control's click.
    bool clicked(const Event& event) const;

private:
    NativeWindow& window() const;

    Form* m_form;
    int m_row;
};

// A tab strip: its tabs are the table's, addressed by 1-based index.
class TabStripControl : public Control {
public:
    using Control::Control;

    int tabCount() const;
    int selectedIndex() const;
    // Selecting another tab raises the strip's Click; the tab already selected, nothing.
    // Raises "Index out of bounds" outside 1..tabCount().
    void select(int index);

private:
    void checkIndex(int index) const;
};

// While one stands, windows that are unloaded go only once the outermost one has gone, as
// inside an event. Outside events, showing and painting a window can let the window system
// deliver a close request, whose handler unloads the very window being shown.
class DeferredUnload {
public:
    DeferredUnload();
    ~DeferredUnload();
    DeferredUnload(const DeferredUnload&) = delete;
    DeferredUnload& operator=(const DeferredUnload&) = delete;
};

// The base of the program's windows: builds the native window from the table and passes each
// event through the one guard where run-time errors stop. Windows unloaded by a handler are
// destroyed only once the outermost event has been handled.
class Form : private EventSink {
public:
    explicit Form(const FormDesign& design);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const FormDesign& design() const { return m_design; }
    NativeWindow& window() const { return *m_window; }

    // The row of a control in the table; a name that is not there is a programming error.
    int row(const char* name, int index = -1) const;

    // Whether an event is being handled (or a DeferredUnload stands) right now, anywhere.
    static bool handlingEvent();

protected:
    virtual void dispatch(const Event& event) = 0;

private:
    void handle(const Event& event) noexcept override;

    const FormDesign& m_design;
    std::unique_ptr<NativeWindow> m_window;
};

} // namespace platform
