#pragma once

#include "platform/Form.h"

#include <QWidget>

class QAction;

// The Qt widgets behind a window and its controls, for the tests that drive them as a user
// would (key clicks, mouse clicks) and read what the screen shows.
namespace platform::qt {

QWidget* widget(const Form& form);
// The widget of a control, or nullptr for a menu entry.
QWidget* widget(const Control& control);
// The action of a menu or menu entry, or nullptr for any other control.
QAction* action(const Control& control);

template <class T> T* widget(const Control& control) {
    return qobject_cast<T*>(widget(control));
}

} // namespace platform::qt
