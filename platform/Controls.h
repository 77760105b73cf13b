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

} // namespace platform
