#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

// Files named by the program's own paths (backslashes, perhaps a drive), opened and closed within
// one call. Failures are run-time errors: path not found, permission denied, disk full.
namespace platform {

// The program's path in this system's form.
QString nativeFilePath(const QString& programPath);

// The whole contents of a file.
QByteArray readFile(const QString& programPath);

// Writes a file's new contents beside the old one and swaps it in only at commit, so that a
// failure at any step leaves the old file whole. Each step raises a run-time error on failure.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    virtual void open(const QString& programPath) = 0;
    virtual void write(const QByteArray& bytes) = 0;
    virtual void flush() = 0;
    virtual void commit() = 0;
};

// Replaces a file's contents through the writer in use.
void writeFile(const QString& programPath, const QByteArray& contents);

// The real writer, for tests that wrap it.
std::unique_ptr<FileWriter> makeSafeFileWriter();

using FileWriterFactory = std::function<std::unique_ptr<FileWriter>()>;
// The real writer unless a test installed another (an empty factory restores the real one).
std::unique_ptr<FileWriter> newFileWriter();
FileWriterFactory replaceFileWriter(FileWriterFactory factory);

} // namespace platform
