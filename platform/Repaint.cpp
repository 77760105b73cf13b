#include "platform/Repaint.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>

namespace platform {

void paintNow(QWidget* window) {
    QElapsedTimer waited;
    waited.start();
    const auto exposed = [window] {
        return window->windowHandle() && window->windowHandle()->isExposed();
    };
    while (!exposed() && waited.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    window->repaint();
}

} // namespace platform
