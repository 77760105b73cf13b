#include "platform/Application.h"

#include "platform/ProgramEnd.h"
#include "platform/Service.h"
#include "platform/WindowInstance.h"
#include "platform/nix/Fonts.h"

#include <QApplication>

#include <memory>

namespace platform {

namespace {

std::unique_ptr<QApplication>& application() {
    static std::unique_ptr<QApplication> app;
    return app;
}

// The caller may be a handler of one of the windows, so they are hidden now and destroyed once
// the event loop has returned.
class QtProgramEnd : public ProgramEnd {
public:
    void endProgram() override {
        WindowInstanceBase::hideAll();
        QCoreApplication::exit(0);
    }
};

} // namespace

ProgramEnd& ProgramEnd::current() {
    return currentService<ProgramEnd, QtProgramEnd>();
}

ProgramEnd* ProgramEnd::install(ProgramEnd* end) {
    return installService(end);
}

Application::Application() {
    // The program reads no command line, so Qt is given none to take its own options from;
    // its environment variables still count.
    static int argc = 1;
    static char name[] = "quorvex";
    static char* argv[] = {name, nullptr};
    application() = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvex"));
    // Ties the windows to the installed menu entry, for the desktop's icon and task list.
    QGuiApplication::setDesktopFileName(QStringLiteral("quorvex"));
    // The main window ends the program itself; a lone About box must not keep it alive.
    QApplication::setQuitOnLastWindowClosed(false);
    installFontSubstitutions();
}

Application::~Application() {
    application().reset();
}

int Application::run() {
    const int status = QApplication::exec();
    WindowInstanceBase::destroyAll();
    // Windows go with a turn of the event loop, which has ended.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}

} // namespace platform
