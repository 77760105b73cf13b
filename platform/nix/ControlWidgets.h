#pragma once

#include "platform/Window.h"

#include <QString>

#include <functional>
#include <string>

class QAction;
class QMenuBar;
class QWidget;

// The widget behind each kind of control in a window's table, and what it shows: its text and
// its value, read and written the same way whatever the kind.
namespace platform {

// The table's texts are UTF-8.
inline QString qs(const char* text) {
    return QString::fromUtf8(text);
}

// The widget of a row that is not a menu or menu entry, placed in its container as the table
// says. `click` runs when the user clicks a button or selects another tab.
QWidget* createControlWidget(const ControlDesign& design, QWidget* container,
                             const std::function<void()>& click);

// A menu on the bar, or an entry of the menu the row's container names; `click` runs when an
// entry is chosen. Returns the menu's or the entry's action.
QAction* createMenuAction(const ControlDesign& design, QMenuBar* bar,
                          const std::function<void()>& click);

// The caption or the contents, as the kind shows it; the empty text where it shows none.
std::string textOf(const QWidget* widget);
void setTextOf(QWidget* widget, const QString& text);

// A check box's state (0 or 1) or a tab strip's selected tab (1-based); 0 for other kinds.
int valueOf(const QWidget* widget);
void setValueOf(QWidget* widget, int value);

} // namespace platform
