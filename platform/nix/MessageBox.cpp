#include "platform/MessageBox.h"

#include "platform/AppInfo.h"
#include "platform/Service.h"

#include <QMessageBox>

namespace platform {

namespace {
class QtMessageBox : public MessageBox {
public:
    void showOk(const std::string& text) override {
        QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(appTitle),
                        QString::fromStdString(text), QMessageBox::Ok);
        box.exec();
    }

    bool askYesNo(const std::string& text) override {
        QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(appTitle),
                        QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        // Esc and the frame's close button answer No: the question has no third way out.
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }
};
} // namespace

MessageBox& MessageBox::current() {
    return currentService<MessageBox, QtMessageBox>();
}

MessageBox* MessageBox::install(MessageBox* box) {
    return installService(box);
}

} // namespace platform
