// Input made while the program was busy, dropped: a filter in front of every other one for as
// long as the outermost block stands, and at its end everything the window system has sent so
// far fetched and delivered through it.
#include "platform/Application.h"

#include <QApplication>
#include <QEvent>
#include <QObject>

namespace platform {

namespace {

class InputDropper : public QObject {
protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
            return true;
        default:
            return false;
        }
    }
};

int depth = 0;

InputDropper& dropper() {
    static InputDropper instance;
    return instance;
}

} // namespace

InputBlock::InputBlock() {
    // Installed last, it sees every event before the windows' own filters do.
    if (depth++ == 0 && qApp)
        qApp->installEventFilter(&dropper());
}

InputBlock::~InputBlock() {
    if (--depth > 0 || !qApp)
        return;
    // In front again of the filters of windows made meanwhile.
    qApp->installEventFilter(&dropper());
    // Under X11 the input may still be on its way: the sync waits for the server's answer,
    // which comes after everything the server sent before it, and delivers all of that.
    QGuiApplication::sync();
    qApp->removeEventFilter(&dropper());
}

} // namespace platform
