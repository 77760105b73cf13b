#include "app/Main.h"
#include "platform/Fonts.h"
#include "platform/WindowInstance.h"

#include <QApplication>
#include <QEvent>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Quorvex"));
    // Ties the windows to the installed menu entry, for the desktop's icon and task list.
    QGuiApplication::setDesktopFileName(QStringLiteral("quorvex"));
    // The main window ends the program itself; a lone About box must not keep it alive.
    application.setQuitOnLastWindowClosed(false);
    platform::installFontSubstitutions();

    Module1::Main();
    const int status = QApplication::exec();
    // Windows unloaded by their own handlers are still waiting for deletion; the rest go now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::WindowInstanceBase::destroyAll();
    return status;
}
