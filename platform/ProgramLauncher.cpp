#include "platform/ProgramLauncher.h"

#include "platform/FileSearch.h"
#include "platform/RuntimeError.h"
#include "platform/Service.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
extern char** environ;
#endif

namespace platform {

namespace {

#ifdef _WIN32

RuntimeError launchError(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return RuntimeError::of(RuntimeError::FileNotFound);
    case ERROR_ACCESS_DENIED:
        return RuntimeError::of(RuntimeError::PermissionDenied);
    default:
        return RuntimeError::of(RuntimeError::InvalidArgument);
    }
}

class SystemLauncher : public ProgramLauncher {
public:
    std::int64_t startProgram(const std::string& programPath, int windowStyle) override {
        if (programPath.empty() || programPath.find('\0') != std::string::npos)
            throw RuntimeError::of(RuntimeError::InvalidArgument);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(windowStyle);
        PROCESS_INFORMATION process{};
        // The program is named by its path alone; the command line only tells it its own name.
        std::string commandLine = '"' + programPath + '"';
        if (!::CreateProcessA(programPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &startup, &process))
            throw launchError(::GetLastError());
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        return process.dwProcessId;
    }
};

#else

RuntimeError launchError(int code) {
    switch (code) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return RuntimeError::of(RuntimeError::FileNotFound);
    case EACCES:
    case EPERM:
        return RuntimeError::of(RuntimeError::PermissionDenied);
    default:
        return RuntimeError::of(RuntimeError::InvalidArgument);
    }
}

class SystemLauncher : public ProgramLauncher {
public:
    // Windows do not take a style here: the new program places its own.
    std::int64_t startProgram(const std::string& programPath, int) override {
        if (programPath.empty() || programPath.find('\0') != std::string::npos)
            throw RuntimeError::of(RuntimeError::InvalidArgument);
        const std::string path = resolvedNativePath(programPath);

        // Executed directly, never through a shell; the child starts with no signal blocked.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
        char* arguments[] = {const_cast<char*>(path.c_str()), nullptr};
        pid_t child = 0;
        const int code =
            posix_spawn(&child, path.c_str(), nullptr, &attributes, arguments, environ);
        posix_spawnattr_destroy(&attributes);
        if (code != 0)
            throw launchError(code);

        // Nobody waits for the program; this only collects its exit status when it ends.
        std::thread([child] {
            int status = 0;
            while (::waitpid(child, &status, 0) == -1 && errno == EINTR) {
            }
        }).detach();
        return child;
    }
};

#endif
} // namespace

ProgramLauncher& ProgramLauncher::current() {
    return currentService<ProgramLauncher, SystemLauncher>();
}

ProgramLauncher* ProgramLauncher::install(ProgramLauncher* launcher) {
    return installService(launcher);
}

} // namespace platform
