#include "platform/Files.h"

#include "platform/NativePath.h"
#include "platform/RuntimeError.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>

namespace platform {

namespace {

// The run-time error for what the system reported (errno), or a general file error.
RuntimeError fileError(int systemError) {
    switch (systemError) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
        return RuntimeError::of(RuntimeError::PathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return RuntimeError::of(RuntimeError::PermissionDenied);
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return RuntimeError::of(RuntimeError::DiskFull);
    default:
        return RuntimeError::of(RuntimeError::PathFileAccess);
    }
}

class SafeFileWriter : public FileWriter {
public:
    void open(const QString& programPath) override {
        m_file.setFileName(nativeFilePath(programPath));
        errno = 0;
        if (!m_file.open(QIODevice::WriteOnly))
            throw fileError(errno);
    }
    void write(const QByteArray& bytes) override {
        errno = 0;
        if (m_file.write(bytes) != bytes.size())
            throw fileError(errno);
    }
    void flush() override {
        errno = 0;
        if (!m_file.flush())
            throw fileError(errno);
    }
    void commit() override {
        errno = 0;
        if (!m_file.commit())
            throw fileError(errno);
    }

private:
    QSaveFile m_file; // an uncommitted file is discarded, the old one untouched
};

FileWriterFactory& installedFactory() {
    static FileWriterFactory factory;
    return factory;
}

} // namespace

QString nativeFilePath(const QString& programPath) {
    return QString::fromStdString(nativePath(programPath.toStdString()));
}

QByteArray readFile(const QString& programPath) {
    QFile file(nativeFilePath(programPath));
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        throw fileError(errno);
    return file.readAll();
}

void writeFile(const QString& programPath, const QByteArray& contents) {
    const std::unique_ptr<FileWriter> writer = newFileWriter();
    writer->open(programPath);
    writer->write(contents);
    writer->flush();
    writer->commit();
}

std::unique_ptr<FileWriter> makeSafeFileWriter() {
    return std::make_unique<SafeFileWriter>();
}

std::unique_ptr<FileWriter> newFileWriter() {
    if (const auto& factory = installedFactory())
        return factory();
    return makeSafeFileWriter();
}

FileWriterFactory replaceFileWriter(FileWriterFactory factory) {
    FileWriterFactory old = std::move(installedFactory());
    installedFactory() = std::move(factory);
    return old;
}

} // namespace platform
