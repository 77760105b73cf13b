#include "platform/ProgramLauncher.h"

#include "platform/FileSearch.h"
#include "platform/RuntimeError.h"
#include "platform/Service.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
extern char** environ;

namespace platform {

namespace {

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
    std::int64_t startProgram(const std::string& text, int) override {
        const std::string path = resolvedNativePath(launchedPath(text));

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

} // namespace

ProgramLauncher& ProgramLauncher::current() {
    return currentService<ProgramLauncher, SystemLauncher>();
}

ProgramLauncher* ProgramLauncher::install(ProgramLauncher* launcher) {
    return installService(launcher);
}

} // namespace platform
