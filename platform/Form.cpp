#include "platform/Form.h"

#include "platform/EventGuard.h"
#include "platform/RuntimeError.h"
#include "platform/WindowInstance.h"

#include <stdexcept>

namespace platform {

namespace {
int eventDepth = 0;
} // namespace

Control::Control(Form& form, const char* name, int index)
    : m_form(&form), m_row(form.row(name, index)) {}

const ControlDesign& Control::design() const {
    return m_form->design().controls[std::size_t(m_row)];
}

NativeWindow& Control::window() const {
    return m_form->window();
}

std::string Control::text() const {
    return window().text(m_row);
}
void Control::setText(const std::string& text) {
    window().setText(m_row, text);
}
bool Control::isVisible() const {
    return window().isVisible(m_row);
}
void Control::setVisible(bool visible) {
    window().setVisible(m_row, visible);
}
bool Control::isEnabled() const {
    return window().isEnabled(m_row);
}
void Control::setEnabled(bool enabled) {
    window().setEnabled(m_row, enabled);
}
TwipsRect Control::place() const {
    return window().place(m_row);
}
void Control::setLeft(int left) {
    window().setLeft(m_row, left);
}
int Control::value() const {
    return window().value(m_row);
}
void Control::setValue(int value) {
    window().setValue(m_row, value);
}
bool Control::clicked(const Event& event) const {
    return event.kind == Event::Click && event.control == m_row;
}

int TabStripControl::tabCount() const {
    return int(design().tabs.size());
}

void TabStripControl::checkIndex(int index) const {
    if (index < 1 || index > tabCount())
        throw RuntimeError::of(RuntimeError::IndexOutOfBounds);
}

int TabStripControl::selectedIndex() const {
    if (tabCount() == 0)
        throw RuntimeError::of(RuntimeError::ObjectNotSet);
    return value();
}

void TabStripControl::select(int index) {
    checkIndex(index);
    setValue(index);
}

Form::Form(const FormDesign& design)
    : m_design(design), m_window(createNativeWindow(design, *this)) {}

Form::~Form() = default;

int Form::row(const char* name, int index) const {
    const int found = findRow(m_design, name, index);
    if (found < 0)
        throw std::logic_error(std::string("no control ") + name + " in " + m_design.name);
    return found;
}

bool Form::handlingEvent() {
    return eventDepth > 0;
}

DeferredUnload::DeferredUnload() {
    ++eventDepth;
}

DeferredUnload::~DeferredUnload() {
    if (--eventDepth == 0)
        WindowInstanceBase::destroyUnloaded();
}

void Form::handle(const Event& event) noexcept {
    DeferredUnload scope;
    guarded([&] { dispatch(event); });
}

} // namespace platform
