#include "platform/TabOrder.h"

#include <QWidget>

namespace platform {

void setTabOrder(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
    if (controls.size() > 0)
        (*controls.begin())->setFocus(Qt::OtherFocusReason);
}

} // namespace platform
