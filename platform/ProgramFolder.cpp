#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

namespace {
bool isSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}

bool startsWithDrive(const QString& dir) {
    return dir.size() >= 2 && dir.at(1) == u':' && dir.at(0).isLetter() &&
           dir.at(0).unicode() < 128;
}
} // namespace

QString programFolderText(const QString& nativeDir) {
    QString dir = nativeDir;
    if (startsWithDrive(dir)) {
        // The results file's name is joined on with a backslash, so a drive folder reads the
        // way the user types one, whatever form the system reported.
        dir.replace(u'/', u'\\');
        while (dir.size() > 3 && dir.endsWith(u'\\'))
            dir.chop(1);
        if (dir.size() == 2)
            dir += u'\\';
        return dir;
    }
    qsizetype end = dir.size();
    while (end > 1 && isSeparator(dir.at(end - 1)))
        --end;
    // A text of separators only is the root and keeps its first one.
    dir.truncate(end);
    return dir;
}

QString programFolder() {
    return programFolderText(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
}

} // namespace platform
