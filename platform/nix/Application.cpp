#include "platform/Application.h"

#include "platform/ProgramEnd.h"
#include "platform/Service.h"
#include "platform/StartupTrace.h"
#include "platform/WindowInstance.h"
#include "platform/nix/Fonts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <QStringList>

#include <dlfcn.h>

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

// What Qt said while it connected to the window system, one message a line.
QStringList& startingMessages() {
    static QStringList messages;
    return messages;
}

// Why a platform plugin that was found did not load: the system's loader's word on it (a
// library of it missing or broken, say), which Qt itself says only when asked to debug plugins.
QString loadFailure(const QString& key) {
    QStringList folders = QCoreApplication::libraryPaths();
    for (QString& folder : folders)
        folder += QStringLiteral("/platforms");
    folders.prepend(qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH"));
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList(QDir::Files)) {
            const QString path = dir.filePath(name);
            const QJsonValue keys = QPluginLoader(path).metaData()["MetaData"].toObject()["Keys"];
            if (!keys.toArray().contains(key))
                continue;
            void* plugin = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
            if (!plugin)
                return QString::fromLocal8Bit(::dlerror());
            ::dlclose(plugin);
        }
    }
    return {};
}

// Qt's reason, in one line: what its platform plugins said, or else its own last word.
std::string qtReason(const QString& fatal) {
    QStringList said = startingMessages();
    if (said.isEmpty())
        said << fatal.section(u'\n', 0, 0);
    for (QString& message : said) {
        if (!message.startsWith(QLatin1String("Could not load the Qt platform plugin")))
            continue;
        const QString failure = loadFailure(message.section(u'"', 1, 1));
        if (!failure.isEmpty())
            message += QLatin1Char(' ') + failure;
    }
    said.removeDuplicates();
    return said.join(QStringLiteral("; ")).simplified().toStdString();
}

// Why no window can be shown, in one line: "no display" only where there is none to connect
// to (DISPLAY not set, or no X server taking the connection there); any other failure, such as
// a plugin whose libraries do not load, in Qt's words.
std::string failureLine(const QString& fatal) {
    std::string line = "quorvex: cannot show its windows: ";
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const QByteArray display = qgetenv("DISPLAY");
    const bool refused =
        !startingMessages().filter(QStringLiteral("could not connect to display")).isEmpty();
    // The program's choice falls back on Wayland, so a Wayland display counts as one.
    const bool onlyX =
        platformChosenHere() ? qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") : platform == "xcb";
    if (onlyX && (display.isEmpty() || refused))
        return line + (display.isEmpty() ? "no X display (DISPLAY is not set)"
                                         : "no X display at DISPLAY=" + display.toStdString());
    if (!platformChosenHere())
        line += "the window system QT_QPA_PLATFORM=" + platform.toStdString() + " cannot be used: ";
    else
        line += "the window system cannot be used: ";
    return line + qtReason(fatal);
}

// While Qt connects to the window system its complaints are held back: when it cannot, they
// would be a screenful on the way to an abort. The program says why in one line and ends.
void startingHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        if (type != QtDebugMsg && context.category &&
            QByteArray(context.category).startsWith("qt.qpa"))
            startingMessages() << message;
        return;
    }
    std::fprintf(stderr, "%s\n", failureLine(message).c_str());
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
        const FontConfigurationReader fonts; // while Qt waits on the display server
        application() = std::make_unique<QApplication>(argc, argv);
    }
    qInstallMessageHandler(previous);
    startingMessages().clear();
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
