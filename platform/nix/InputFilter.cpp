// Installed on the whole application, since a key goes to the focused control and a mouse press
// to the widget under the pointer, never to the window that holds them.
#include "platform/nix/InputFilter.h"

#include "platform/FormRules.h"
#include "platform/nix/KeyCodes.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>

namespace platform {

InputFilter::InputFilter(const FormDesign& design, QWidget* top,
                         const std::vector<QWidget*>& widgets, EventSink& sink)
    : m_design(design), m_top(top), m_widgets(widgets), m_sink(sink) {}

int InputFilter::rowOf(const QObject* widget) const {
    const auto found = std::find(m_widgets.begin(), m_widgets.end(), widget);
    return found == m_widgets.end() ? -1 : int(found - m_widgets.begin());
}

bool InputFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease) {
        const int row = rowOf(watched);
        if (row >= 0 && m_design.controls[std::size_t(row)].kind == ControlKind::Frame)
            watchFrame(row, event);
        return false;
    }
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease &&
         type != QEvent::ShortcutOverride) ||
        !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != m_top)
        return false;
    // Every key press is announced by a shortcut check and followed by a release; between
    // them, a press the control left unused travels on to its containers, the same event.
    // Preview it once, at the control it was sent to, even if the handler moved the focus.
    if (type != QEvent::KeyPress) {
        m_previewedKey = nullptr;
        return false;
    }
    if (event == m_previewedKey && m_previewedAt && widget->isAncestorOf(m_previewedAt))
        return false;
    m_previewedKey = event;
    m_previewedAt = widget;
    return previewKey(widget, static_cast<QKeyEvent*>(event));
}

// Runs the window's key handlers before the control's, then the default and cancel buttons.
// A handler may unload the window, and this filter with it: nothing of it is used then.
bool InputFilter::previewKey(QWidget* widget, QKeyEvent* event) {
    const QPointer<InputFilter> alive = this;
    if (m_design.keyPreview) {
        raise({Event::KeyDown, -1, keyCodeOf(*event), shiftStateOf(*event)});
        if (!alive)
            return true;
        if (const QString character = event->text(); !character.isEmpty()) {
            raise({Event::KeyPress, -1, character.at(0).unicode()});
            if (!alive)
                return true;
        }
    }
    if (!m_top->isVisible())
        return false;
    const auto enabled = [this](int row) {
        return row >= 0 && control(row)->isEnabled() ? row : -1;
    };
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        if (const int row = enabled(cancelButtonRow(m_design)); row >= 0) {
            raise({Event::Click, row});
            return true;
        }
    } else if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
               (event->modifiers() & ~Qt::KeypadModifier) == 0) {
        // Enter on a button presses that button; elsewhere the default one.
        int row = qobject_cast<QPushButton*>(widget) ? rowOf(widget) : -1;
        if (row < 0)
            row = enabled(defaultButtonRow(m_design));
        if (row >= 0) {
            raise({Event::Click, row});
            return true;
        }
    }
    return false;
}

// A click is a press and a release of the left button on the frame's bare area. A press on a
// label or the image reaches the frame too, since they ignore it; it is not the frame's.
void InputFilter::watchFrame(int row, QEvent* event) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton)
        return;
    QWidget* frame = control(row);
    const QPoint at = mouse->position().toPoint();
    if (event->type() == QEvent::MouseButtonPress) {
        m_framePressed = frame->childAt(at) == nullptr;
        return;
    }
    const bool clicked = m_framePressed && frame->rect().contains(at);
    m_framePressed = false;
    if (clicked)
        raise({Event::Click, row});
}

} // namespace platform
