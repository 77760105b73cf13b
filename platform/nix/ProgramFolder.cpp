#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

std::string programFolder() {
    return programFolderText(
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString());
}

} // namespace platform
