#pragma once

#include "platform/Fonts.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QString>

namespace platform {

// Names a control after its member and puts it at its twips place in its container.
template <class Control>
Control* place(Control* control, const char* name, int left, int top, int width, int height) {
    control->setObjectName(QString::fromLatin1(name));
    twips::setGeometry(control, left, top, width, height);
    return control;
}

// A caption wrapped within its box from the top-left corner, in the given font.
inline QLabel* label(QWidget* container, const char* name, const char* caption, int left, int top,
                     int width, int height, const QFont& font = defaultFont()) {
    auto* control =
        place(new QLabel(QString::fromUtf8(caption), container), name, left, top, width, height);
    control->setFont(font);
    control->setWordWrap(true);
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return control;
}

// A caption's text colour.
inline void setTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// A fixed dialog frame around a client area of the given twips size: a caption with a close
// button, no caption icon, no resizing, no minimize or maximize button.
inline void makeFixedDialog(QWidget* window, int clientWidth, int clientHeight) {
    window->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    window->setFixedSize(twips::toPixels(0, 0, clientWidth, clientHeight).size());
}

} // namespace platform
