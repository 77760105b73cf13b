#include "tests/support/TestEnvironment.h"

#include "platform/WindowInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>

#include <cstdlib>

namespace testsupport {

namespace {
QtMessageHandler previousHandler = nullptr;

// The offscreen platform warns about every window operation it cannot do; that is not news.
void quietOffscreenWarnings(QtMsgType type, const QMessageLogContext& context,
                            const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}
} // namespace

TestEnvironment::TestEnvironment()
    : m_programFolder(QDir::toNativeSeparators(m_folder.path()).toStdString()) {
    // Installed here, inside the test run, so that it chains to Qt Test's own handler.
    static const bool quiet = [] {
        previousHandler = qInstallMessageHandler(quietOffscreenWarnings);
        return true;
    }();
    (void)quiet;
}

QStringList toQt(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts)
        list << QString::fromStdString(text);
    return list;
}

void useOffscreenUnlessSet() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void unloadAllWindows() {
    platform::WindowInstanceBase::destroyAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace testsupport
