#include "platform/Application.h"

#include "platform/ProgramEnd.h"
#include "platform/Service.h"
#include "platform/StartupTrace.h"
#include "platform/WindowInstance.h"
#include "platform/nix/Fonts.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

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

// Whether the window system is the program's choice rather than the user's.
bool& platformChosenHere() {
    static bool chosen = false;
    return chosen;
}

// Why no window can be shown, in one line: where the display was looked for.
std::string noDisplayLine() {
    std::string line = "quorvex: cannot show its windows: ";
    if (!platformChosenHere())
        return line +
               "the window system QT_QPA_PLATFORM=" + qgetenv("QT_QPA_PLATFORM").toStdString() +
               " cannot be used";
    const QByteArray display = qgetenv("DISPLAY");
    return line + (display.isEmpty() ? "no X display (DISPLAY is not set)"
                                     : "no X display at DISPLAY=" + display.toStdString());
}

// While Qt connects to the window system its complaints are held back: when it cannot, they
// would be a screenful on the way to an abort. The program says why in one line and ends.
void startingHandler(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type != QtFatalMsg)
        return;
    std::fprintf(stderr, "%s\n", noDisplayLine().c_str());
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

ProgramEnd& ProgramEnd::current() {
    return currentService<ProgramEnd, QtProgramEnd>();
}

ProgramEnd* ProgramEnd::install(ProgramEnd* end) {
    return installService(end);
}

Application::Application() {
    startuptrace::mark("program-start");
    // The program reads no command line, so Qt is given none to take its own options from;
    // its environment variables still count.
    static int argc = 1;
    static char name[] = "quorvex";
    static char* argv[] = {name, nullptr};
    // On a Wayland desktop through XWayland, where windows can be placed; natively only when
    // there is no X server, or when the user asks for a window system.
    platformChosenHere() = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (platformChosenHere())
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    const QtMessageHandler previous = qInstallMessageHandler(startingHandler);
    {
        const FontConfigurationReader fonts; // meanwhile
        application() = std::make_unique<QApplication>(argc, argv);
    }
    qInstallMessageHandler(previous);
    startuptrace::mark("toolkit-ready");
    // Programs started from here choose for themselves.
    if (platformChosenHere())
        qunsetenv("QT_QPA_PLATFORM");
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
