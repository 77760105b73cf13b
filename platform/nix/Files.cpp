// Files on a POSIX system: reading through the system's calls, so that nothing but a regular file
// is ever read and opening cannot wait; writing through a save file.
#include "platform/Files.h"

#include "platform/RuntimeError.h"
#include "platform/nix/NativePath.h"

#include <QSaveFile>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The run-time error for what the system reported (errno), or a general file error.
RuntimeError fileError(int systemError) {
    switch (systemError) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return RuntimeError::of(RuntimeError::PathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return RuntimeError::of(RuntimeError::PermissionDenied);
    case ENOSPC:
    case EDQUOT:
        return RuntimeError::of(RuntimeError::DiskFull);
    default:
        return RuntimeError::of(RuntimeError::PathFileAccess);
    }
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { ::close(m_fd); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

class SaveFileWriter : public FileWriter {
public:
    SaveFileWriter() {
        // A folder that allows no new file gets the file written in place, if the file allows.
        m_file.setDirectWriteFallback(true);
    }
    void open(const std::string& programPath) override {
        m_file.setFileName(QString::fromStdString(slashPath(programPath)));
        errno = 0;
        if (!m_file.open(QIODevice::WriteOnly))
            throw fileError(errno);
    }
    void write(std::string_view bytes) override {
        errno = 0;
        if (m_file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
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
    QSaveFile m_file; // an uncommitted new file is discarded, the old one untouched
};

} // namespace

std::string readFileStart(const std::string& programPath, std::size_t maxBytes) {
    const std::string path = slashPath(programPath);
    // Look before opening: opening a device can be an action of its own.
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        throw fileError(errno);
    if (!S_ISREG(info.st_mode))
        throw RuntimeError::of(RuntimeError::PathFileAccess);
    // Without blocking, and checked again, for a pipe or a device that took the name meanwhile.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw fileError(errno);
    const Descriptor file(fd);
    if (::fstat(file.get(), &info) != 0)
        throw fileError(errno);
    if (!S_ISREG(info.st_mode))
        throw RuntimeError::of(RuntimeError::PathFileAccess);

    std::string bytes(maxBytes, '\0');
    std::size_t got = 0;
    while (got < maxBytes) {
        const ssize_t n = ::read(file.get(), bytes.data() + got, maxBytes - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw fileError(errno);
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    bytes.resize(got);
    return bytes;
}

std::unique_ptr<FileWriter> makeSystemFileWriter() {
    return std::make_unique<SaveFileWriter>();
}

} // namespace platform
