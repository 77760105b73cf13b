// Files on a POSIX system through the system's own calls, so that nothing but a regular file is
// ever read or written in place and opening cannot wait.
#include "platform/Files.h"

#include "platform/RuntimeError.h"
#include "platform/nix/NativePath.h"

#include <cerrno>
#include <climits>
#include <csignal>
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
        }
    }
    void flush() override {
        if (::fsync(m_fd) != 0)
            throw fileError(errno);
    }
    void cut(std::uint64_t length) override {
        if (::ftruncate(m_fd, off_t(length)) != 0)
            throw fileError(errno);
    }
    std::uint64_t size() override {
        struct stat info;
        if (::fstat(m_fd, &info) != 0)
            throw fileError(errno);
        return std::uint64_t(info.st_size);
    }
    void close() override {
        const int fd = std::exchange(m_fd, -1);
        if (::close(fd) != 0 && errno != EINTR)
            throw fileError(errno);
    }

private:
    int m_fd;
};

// The permission bits of the file like, or those of a new file (0666 less the umask) where there
// is none.
mode_t permissionsLike(const std::string& like, bool& found) {
    struct stat info;
    found = ::stat(slashPath(like).c_str(), &info) == 0;
    return found ? info.st_mode & 0777 : 0666;
}

// A path the program's own form names unchanged: no backslash, no leading drive.
bool programForm(const std::string& path) {
    return path.find('\\') == std::string::npos &&
           !(path.size() >= 2 && path[1] == ':' &&
             ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z')));
}

class PosixFileCalls : public FileCalls {
public:
    std::string finalPath(const std::string& programPath) override {
        std::string path = slashPath(programPath);
        for (int links = 0;; ++links) {
            struct stat info;
            if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
                break;
            if (links == 40)
                throw fileError(ELOOP);
            std::string to(std::size_t(PATH_MAX), '\0');
            const ssize_t n = ::readlink(path.c_str(), to.data(), to.size());
            if (n < 0)
                throw fileError(errno);
            if (std::size_t(n) == to.size())
                throw fileError(ENAMETOOLONG);
            to.resize(std::size_t(n));
            path = to.starts_with('/') ? to : path.substr(0, path.rfind('/') + 1) + to;
            // A name the program's form cannot carry: an error rather than the link replaced.
            if (!programForm(path))
                throw RuntimeError::of(RuntimeError::PathFileAccess);
        }
        return path == slashPath(programPath) ? programPath : path;
    }
    std::unique_ptr<File> create(const std::string& path, const std::string& like,
                                 Refusal& refusal) override {
        // Made with the old file's permissions, which the umask may only narrow, then given
        // exactly those: never wider than the old file at any moment.
        bool found = false;
        const mode_t mode = permissionsLike(like, found);
        const int fd = ::open(slashPath(path).c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
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
        auto file = std::make_unique<SystemFile>(fd);
        if (found && ::fchmod(fd, mode) != 0)
            throw fileError(errno);
        return file;
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
    std::unique_ptr<File> reuse(const std::string& path, const std::string& like) override {
        const int fd = ::open(slashPath(path).c_str(),
                              O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        auto file = std::make_unique<SystemFile>(fd);
        struct stat info;
        bool found = false;
        mode_t mode = permissionsLike(like, found);
        if (!found) {
            // As a new file would be made: the umask is read by setting it, and set back.
            const mode_t mask = ::umask(0077);
            ::umask(mask);
            mode &= ~mask;
        }
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid() ||
            info.st_nlink != 1 || ::fchmod(fd, mode) != 0)
            return nullptr;
        return file;
    }
    Refusal replace(const std::string& from, const std::string& to) override {
        if (::rename(slashPath(from).c_str(), slashPath(to).c_str()) == 0)
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
    void flushFolder(const std::string& folder) override {
        const int fd = ::open(folder.empty() ? "." : slashPath(folder).c_str(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            throw fileError(errno);
        const Descriptor dir(fd);
        // A file system that keeps no folder flush (EINVAL) writes its names through anyway.
        if (::fsync(fd) != 0 && errno != EINVAL)
            throw fileError(errno);
    }
    bool ownFile(const std::string& path) override {
        struct stat info;
        return ::lstat(slashPath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
               info.st_uid == ::geteuid();
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
    bool processRunning(unsigned long process) override {
        return process > 0x7fffffffUL ? false : ::kill(pid_t(process), 0) == 0 || errno != ESRCH;
    }
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
