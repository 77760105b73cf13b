#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Starts programs and does not wait for them.
class ProgramLauncher {
public:
    // Window style 1: the program's window opens at its normal size and place, activated.
    static constexpr int NormalFocus = 1;

    virtual ~ProgramLauncher() = default;

    // Starts the program that the text names (launchedPath), with no arguments. The window
    // style is passed to systems that have one. Returns the new process's id. A text that is
    // empty, names nothing or names what may not be run is a RuntimeError.
    virtual std::int64_t startProgram(const std::string& text, int windowStyle) = 0;

    // The launcher in use: the system's unless a test installed another.
    static ProgramLauncher& current();
    // Installs a replacement (nullptr restores the system's); returns the one it replaces.
    static ProgramLauncher* install(ProgramLauncher* launcher);
};

// The program's own path in a launch text, in the program's backslash form and never a command
// line: blanks in it are part of the names. The system reads the text up to its first zero
// character, so what follows one is dropped (a string stored with two closing zero bytes keeps
// one); then one pair of double quotes around the whole goes, as registry tools often write
// paths. An empty path is a RuntimeError (invalid argument).
std::string launchedPath(std::string_view text);

} // namespace platform
