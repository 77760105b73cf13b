// A stand-in for a program that the launcher starts: it writes PATH.ran beside itself, where
// PATH is its own path, holding the command line it was given and the window style it was asked
// to show with ("-" when none), one to a line. The text goes to another name first and is
// renamed, so that whoever waits for the file never reads half of it.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

int main() {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    ::GetStartupInfoA(&startup);
    const std::string text =
        std::string(::GetCommandLineA()) + "\n" +
        (startup.dwFlags & STARTF_USESHOWWINDOW ? std::to_string(startup.wShowWindow) : "-") + "\n";

    const std::string marker = std::string(path, length) + ".ran";
    const std::string partial = marker + ".part";
    HANDLE file = ::CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    const bool ok =
        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    ::CloseHandle(file);
    return ok && ::MoveFileExA(partial.c_str(), marker.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
