// Files on Windows through the wide-character calls: the program's paths are UTF-8 and become
// UTF-16 here, at the edge.
#include "platform/Files.h"

#include "platform/RuntimeError.h"
#include "platform/win/WideText.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace platform {

namespace {

// The run-time error for what the system reported (GetLastError), or a general file error.
RuntimeError fileError(DWORD systemError) {
    switch (systemError) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
    case ERROR_FILENAME_EXCED_RANGE:
        return RuntimeError::of(RuntimeError::PathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return RuntimeError::of(RuntimeError::PermissionDenied);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return RuntimeError::of(RuntimeError::DiskFull);
    default:
        return RuntimeError::of(RuntimeError::PathFileAccess);
    }
}

RuntimeError lastError() {
    return fileError(::GetLastError());
}

// The program's own path form is Windows' own. A text that is not UTF-8, or holds a zero,
// names no file. A long path takes the form that the system's length limit does not apply to;
// that form is taken literally, so it is made whole first (separators, ".", ".."), as the system
// would have made it.
std::wstring systemPath(const std::string& path) {
    if (path.empty())
        return {};
    if (path.find('\0') != std::string::npos)
        throw RuntimeError::of(RuntimeError::PathNotFound);
    const int size = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(),
                                           int(path.size()), nullptr, 0);
    if (size <= 0)
        throw RuntimeError::of(RuntimeError::PathNotFound);
    std::wstring wide(std::size_t(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), int(path.size()), wide.data(),
                          size);
    // A folder's own limit is 12 less than a file's: room for a short file name inside it.
    if (wide.size() < std::size_t(MAX_PATH - 12) || wide.starts_with(LR"(\\?\)") ||
        wide.starts_with(LR"(\\.\)"))
        return wide;
    const DWORD fullSize = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (fullSize == 0)
        throw RuntimeError::of(RuntimeError::PathNotFound);
    std::wstring full(fullSize, L'\0');
    full.resize(::GetFullPathNameW(wide.c_str(), fullSize, full.data(), nullptr));
    if (full.starts_with(LR"(\\)"))
        return LR"(\\?\UNC\)" + full.substr(2);
    return LR"(\\?\)" + full;
}

class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    void reset(HANDLE handle) {
        close();
        m_handle = handle;
    }
    // Closes now, saying whether the system could (a late write error shows here).
    bool close() {
        if (!valid())
            return true;
        const bool closed = ::CloseHandle(m_handle) != 0;
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

class SystemFile : public FileCalls::File {
public:
    explicit SystemFile(HANDLE handle) : m_handle(handle) {}
    void write(std::string_view bytes) override {
        while (!bytes.empty()) {
            DWORD written = 0;
            const DWORD chunk = DWORD(bytes.size() < 0x10000000 ? bytes.size() : 0x10000000);
            if (!::WriteFile(m_handle.get(), bytes.data(), chunk, &written, nullptr))
                throw lastError();
            bytes.remove_prefix(written);
        }
    }
    void flush() override {
        if (!::FlushFileBuffers(m_handle.get()))
            throw lastError();
    }
    void cut(std::uint64_t length) override {
        LARGE_INTEGER end;
        end.QuadPart = LONGLONG(length);
        if (!::SetFilePointerEx(m_handle.get(), end, nullptr, FILE_BEGIN) ||
            !::SetEndOfFile(m_handle.get()))
            throw lastError();
    }
    std::uint64_t size() override {
        LARGE_INTEGER size;
        if (!::GetFileSizeEx(m_handle.get(), &size))
            throw lastError();
        return std::uint64_t(size.QuadPart);
    }
    void close() override {
        if (!m_handle.close())
            throw lastError();
    }

private:
    Handle m_handle;
};

// A refusal that another program's open handle explains, and so may pass when it lets go.
bool mayPass(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION;
}

// A file that is neither a folder nor a link (a reparse point) of any kind.
bool plainFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

class WindowsFileCalls : public FileCalls {
public:
    // Only a link at the file's own name needs following: one on a folder of the path leads the
    // replacement into the folder it names anyway.
    std::string finalPath(const std::string& path) override {
        const std::wstring name = systemPath(path);
        const DWORD attributes = ::GetFileAttributesW(name.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return path;
        const Handle file(
            ::CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!file.valid())
            return path; // a link to nothing: the system allows no more
        std::wstring final(MAX_PATH, L'\0');
        DWORD size = ::GetFinalPathNameByHandleW(file.get(), final.data(), DWORD(final.size()), 0);
        if (size >= final.size()) {
            final.resize(size + 1);
            size = ::GetFinalPathNameByHandleW(file.get(), final.data(), DWORD(final.size()), 0);
        }
        if (size == 0 || size >= final.size())
            return path;
        final.resize(size);
        return win::utf8(final);
    }
    std::unique_ptr<File> create(const std::string& path, const std::string&,
                                 Refusal& refusal) override {
        const HANDLE file = ::CreateFileW(systemPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return std::make_unique<SystemFile>(file);
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
            refusal = Refusal::Exists;
        else if (error == ERROR_ACCESS_DENIED)
            refusal = Refusal::Lasting;
        else
            throw fileError(error);
        return nullptr;
    }
    std::unique_ptr<File> openExisting(const std::string& path) override {
        // Beside a program that reads or writes the file too, as a scanner or an indexer does.
        const HANDLE file = ::CreateFileW(systemPath(path).c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            throw lastError();
        auto opened = std::make_unique<SystemFile>(file);
        if (::GetFileType(file) != FILE_TYPE_DISK)
            throw RuntimeError::of(RuntimeError::PathFileAccess);
        return opened;
    }
    std::unique_ptr<File> reuse(const std::string& path, const std::string&) override {
        const HANDLE file = ::CreateFileW(systemPath(path).c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return nullptr;
        auto opened = std::make_unique<SystemFile>(file);
        BY_HANDLE_FILE_INFORMATION info;
        if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info) ||
            !plainFile(info.dwFileAttributes))
            return nullptr;
        return opened;
    }
    Refusal replace(const std::string& from, const std::string& to) override {
        if (::MoveFileExW(systemPath(from).c_str(), systemPath(to).c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return Refusal::None;
        const DWORD error = ::GetLastError();
        if (mayPass(error))
            return Refusal::Busy;
        throw fileError(error);
    }
    // The replacement wrote through.
    void flushFolder(const std::string&) override {}
    bool ownFile(const std::string& path) override {
        return plainFile(::GetFileAttributesW(systemPath(path).c_str()));
    }
    bool remove(const std::string& path) override {
        const std::wstring file = systemPath(path);
        if (::DeleteFileW(file.c_str()))
            return true;
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    std::vector<std::string> namesIn(const std::string& folder, std::string_view start,
                                     std::string_view end) override {
        std::vector<std::string> names;
        WIN32_FIND_DATAW found;
        const std::string pattern = folder + std::string(start) + '*' + std::string(end);
        const HANDLE search = ::FindFirstFileW(systemPath(pattern).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            names.push_back(win::utf8(found.cFileName));
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        return names;
    }
    unsigned long processId() override { return ::GetCurrentProcessId(); }
    // A number no process has is an invalid parameter; any other refusal means one is there.
    bool processRunning(unsigned long process) override {
        const HANDLE handle = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, DWORD(process));
        if (!handle)
            return ::GetLastError() != ERROR_INVALID_PARAMETER;
        DWORD code = 0;
        const bool ended = ::GetExitCodeProcess(handle, &code) && code != STILL_ACTIVE;
        ::CloseHandle(handle);
        return !ended;
    }
};

} // namespace

std::string readFileStart(const std::string& programPath, std::size_t maxBytes) {
    const std::wstring path = systemPath(programPath);
    // Shared every way, so that a file another program holds open is still read.
    Handle file(::CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        throw lastError();
    // A file on a disk only: not a pipe, a console or a device, which could keep us waiting.
    BY_HANDLE_FILE_INFORMATION info;
    if (::GetFileType(file.get()) != FILE_TYPE_DISK)
        throw RuntimeError::of(RuntimeError::PathFileAccess);
    if (!::GetFileInformationByHandle(file.get(), &info))
        throw lastError();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        throw RuntimeError::of(RuntimeError::PathFileAccess);

    std::string bytes(maxBytes, '\0');
    std::size_t got = 0;
    while (got < maxBytes) {
        const std::size_t left = maxBytes - got;
        DWORD read = 0;
        if (!::ReadFile(file.get(), bytes.data() + got,
                        DWORD(left < 0x10000000 ? left : 0x10000000), &read, nullptr))
            throw lastError();
        if (read == 0)
            break;
        got += read;
    }
    bytes.resize(got);
    return bytes;
}

FileCalls& systemFileCalls() {
    static WindowsFileCalls calls;
    return calls;
}

} // namespace platform
