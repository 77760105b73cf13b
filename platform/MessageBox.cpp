#include "platform/MessageBox.h"

#include "platform/AppInfo.h"
#include "platform/RuntimeError.h"
#include "platform/Service.h"

#include <QMessageBox>
#include <QPushButton>

namespace platform {

MessageBox& MessageBox::current() {
    return currentService<MessageBox, QtMessageBox>();
}

MessageBox* MessageBox::install(MessageBox* box) {
    return installService(box);
}

void QtMessageBox::showOk(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(appTitle), text, QMessageBox::Ok);
    box.exec();
}

bool QtMessageBox::askYesNo(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(appTitle), text,
                    QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    // Esc and the frame's close button answer No: the question has no third way out.
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString runtimeErrorText(const RuntimeError& error) {
    return QStringLiteral("Run-time error '%1':\n\n%2")
        .arg(error.number())
        .arg(QString::fromStdString(error.description()));
}

void showRuntimeError(const RuntimeError& error) {
    MessageBox::current().showOk(runtimeErrorText(error));
}

} // namespace platform
