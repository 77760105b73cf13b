// The floor of a first window in Qt, the size of the splash, marking its first paint in the
// program's start-up trace. Built twice: text-window is a label showing one word in the
// toolkit's own font, the least any window with text costs (the font configuration read, a font
// loaded, a line laid out and drawn); bare-window (BARE_EMPTY) shows nothing at all.
#include "platform/StartupTrace.h"

#include <QApplication>
#include <QLabel>

namespace {
#ifdef BARE_EMPTY
using Window = QWidget;
#else
using Window = QLabel;
#endif

class BareWindow : public Window {
protected:
    void paintEvent(QPaintEvent* event) override {
        Window::paintEvent(event);
        if (!m_painted)
            startuptrace::mark("window-painted");
        m_painted = true;
    }

private:
    bool m_painted = false;
};
} // namespace

int main() {
    static int argc = 1;
    static char name[] = "bare-window";
    static char* argv[] = {name, nullptr};
    startuptrace::mark("program-start");
    QApplication application(argc, argv);
    startuptrace::mark("toolkit-ready");
    BareWindow window;
#ifndef BARE_EMPTY
    window.setText(QStringLiteral("Quorvex"));
#endif
    window.resize(498, 289);
    window.show();
    return application.exec();
}
