// A bare Qt window the size of the splash: the application, one top-level widget shown, and the
// trace's mark once its first paint is done.
#include "platform/StartupTrace.h"

#include <QApplication>
#include <QWidget>

namespace {
class BareWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
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
    window.resize(498, 289);
    window.show();
    return application.exec();
}
