#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

std::string executableFolder() {
    return programFolderText(
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString());
}

} // namespace platform
