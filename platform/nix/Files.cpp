// Files on a POSIX system through the system's own calls, so that nothing but a regular file is
// ever read or written in place and opening cannot wait.
#include "platform/Files.h"

#include "platform/RuntimeError.h"
#include "platform/nix/NativePath.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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

class SystemFile : public FileCalls::File {
public:
    explicit SystemFile(int fd) : m_fd(fd) {}
    ~SystemFile() override {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    void write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw fileError(n < 0 ? errno : ENOSPC);
            bytes.remove_prefix(std::size_t(n));
            m_length += n;
        }
    }
    void flush() override {
        if (::fsync(m_fd) != 0)
            throw fileError(errno);
    }
    void cut() override {
        if (::ftruncate(m_fd, m_length) != 0)
            throw fileError(errno);
    }
    void close() override {
        const int fd = std::exchange(m_fd, -1);
        if (::close(fd) != 0 && errno != EINTR)
            throw fileError(errno);
    }

private:
    int m_fd;
    off_t m_length = 0;
};

class PosixFileCalls : public FileCalls {
public:
    std::unique_ptr<File> create(const std::string& path, Refusal& refusal) override {
        const int fd = ::open(slashPath(path).c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) {
                refusal = Refusal::Exists;
                return nullptr;
            }
            if (errno == EACCES || errno == EPERM || errno == EROFS) {
                refusal = Refusal::Lasting;
                return nullptr;
            }
            throw fileError(errno);
        }
        return std::make_unique<SystemFile>(fd);
    }
    std::unique_ptr<File> openExisting(const std::string& path) override {
        // Without creating and without waiting: a pipe under the name has no reader to wait for.
        const int fd =
            ::open(slashPath(path).c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            throw fileError(errno);
        auto file = std::make_unique<SystemFile>(fd);
        struct stat info;
        if (::fstat(fd, &info) != 0)
            throw fileError(errno);
        if (!S_ISREG(info.st_mode))
            throw RuntimeError::of(RuntimeError::PathFileAccess);
        return file;
    }
    Refusal replace(const std::string& from, const std::string& to) override {
        const std::string target = slashPath(to);
        // The new file keeps the old one's permissions, as far as its owner may set them.
        struct stat info;
        if (::stat(target.c_str(), &info) == 0)
            ::chmod(slashPath(from).c_str(), info.st_mode & 07777);
        if (::rename(slashPath(from).c_str(), target.c_str()) == 0)
            return Refusal::None;
        switch (errno) {
        case EBUSY:
        case ETXTBSY:
            return Refusal::Busy;
        case EPERM: // a sticky folder, a file of another user's: nothing will change that
        case EACCES:
        case EROFS:
            return Refusal::Lasting;
        default:
            throw fileError(errno);
        }
    }
    bool remove(const std::string& path) override {
        return ::unlink(slashPath(path).c_str()) == 0 || errno == ENOENT;
    }
    std::vector<std::string> namesIn(const std::string& folder, std::string_view start,
                                     std::string_view end) override {
        std::vector<std::string> names;
        DIR* const dir = ::opendir(folder.empty() ? "." : slashPath(folder).c_str());
        if (!dir)
            return names;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (name.starts_with(start) && name.ends_with(end))
                names.emplace_back(name);
        }
        ::closedir(dir);
        return names;
    }
    unsigned long processId() override { return static_cast<unsigned long>(::getpid()); }
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

FileCalls& systemFileCalls() {
    static PosixFileCalls calls;
    return calls;
}

} // namespace platform
