#include "platform/ProgramLauncher.h"

#include "platform/RuntimeError.h"
#include "platform/Service.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace platform {

namespace {

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
    std::int64_t startProgram(const std::string& text, int windowStyle) override {
        const std::string programPath = launchedPath(text);
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

} // namespace

ProgramLauncher& ProgramLauncher::current() {
    return currentService<ProgramLauncher, SystemLauncher>();
}

ProgramLauncher* ProgramLauncher::install(ProgramLauncher* launcher) {
    return installService(launcher);
}

} // namespace platform
