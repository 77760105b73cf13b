// Files on Windows through the wide-character calls: the program's paths are UTF-8 and become
// UTF-16 here, at the edge.
#include "platform/Files.h"

#include "platform/RuntimeError.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

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
// names no file.
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
    return wide;
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

// Writes a temporary file in the target's folder and moves it over the target at commit.
// Where the folder refuses a new file, writes the existing target in place instead.
class ReplacingFileWriter : public FileWriter {
public:
    ~ReplacingFileWriter() override { discard(); }

    void open(const std::string& programPath) override {
        m_target = systemPath(programPath);
        const std::size_t slash = m_target.find_last_of(L"\\/");
        const std::size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
        static unsigned counter = 0;
        for (int attempt = 0; attempt < 100; ++attempt) {
            wchar_t suffix[64];
            std::swprintf(suffix, 64, L".%lx-%x.tmp", ::GetCurrentProcessId(), ++counter);
            const std::wstring temporary =
                m_target.substr(0, nameStart) + L"~" + m_target.substr(nameStart) + suffix;
            const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                m_file.reset(file);
                m_temporary = temporary;
                return;
            }
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;
            if (error == ERROR_ACCESS_DENIED) {
                openInPlace();
                return;
            }
            throw fileError(error);
        }
        throw RuntimeError::of(RuntimeError::PathFileAccess);
    }

    void write(std::string_view bytes) override {
        while (!bytes.empty()) {
            DWORD written = 0;
            const DWORD chunk = DWORD(bytes.size() < 0x10000000 ? bytes.size() : 0x10000000);
            if (!::WriteFile(m_file.get(), bytes.data(), chunk, &written, nullptr))
                throw lastError();
            bytes.remove_prefix(written);
        }
    }

    void flush() override {
        if (!::FlushFileBuffers(m_file.get()))
            throw lastError();
    }

    void commit() override {
        // On the disk before it takes the old file's place, so that a crash leaves one of them.
        if (!::FlushFileBuffers(m_file.get()) || !m_file.close()) {
            const RuntimeError error = lastError();
            discard();
            throw error;
        }
        if (m_temporary.empty())
            return;
        if (!::MoveFileExW(m_temporary.c_str(), m_target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const RuntimeError error = lastError();
            discard();
            throw error;
        }
        m_temporary.clear();
    }

private:
    void openInPlace() {
        const HANDLE file = ::CreateFileW(m_target.c_str(), GENERIC_WRITE, 0, nullptr,
                                          TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            m_file.reset(file);
            return;
        }
        const DWORD error = ::GetLastError();
        // No file to write in place: the folder's refusal is the failure.
        throw fileError(error == ERROR_FILE_NOT_FOUND ? ERROR_ACCESS_DENIED : error);
    }

    void discard() {
        m_file.close();
        if (!m_temporary.empty())
            ::DeleteFileW(m_temporary.c_str());
        m_temporary.clear();
    }

    std::wstring m_target;
    std::wstring m_temporary; // empty when writing in place, or once moved
    Handle m_file;
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

std::unique_ptr<FileWriter> makeSystemFileWriter() {
    return std::make_unique<ReplacingFileWriter>();
}

} // namespace platform
