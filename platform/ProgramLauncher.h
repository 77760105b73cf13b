#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Starts programs and does not wait for them.
class ProgramLauncher {
public:
    // Window style 1: the program's window opens at its normal size and place, activated.
    static constexpr int NormalFocus = 1;

    virtual ~ProgramLauncher() = default;

    // Starts the program that the path names, with no arguments. The path is the program's own
    // path in the program's backslash form, never a command line: blanks in it are part of the
    // names. The window style is passed to systems that have one. Returns the new process's id.
    // A path that is empty, names nothing or names what may not be run is a RuntimeError.
    virtual std::int64_t startProgram(const std::string& programPath, int windowStyle) = 0;

    // The launcher in use: the system's unless a test installed another.
    static ProgramLauncher& current();
    // Installs a replacement (nullptr restores the system's); returns the one it replaces.
    static ProgramLauncher* install(ProgramLauncher* launcher);
};

} // namespace platform
