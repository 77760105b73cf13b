#pragma once

namespace platform {

// Ends the program at once: every window goes, nothing is asked. Tests install one that counts.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    virtual void endProgram() = 0;

    static ProgramEnd& current();
    // Installs a replacement (nullptr restores the real one); returns the one it replaces.
    static ProgramEnd* install(ProgramEnd* end);
};

inline void endProgram() {
    ProgramEnd::current().endProgram();
}

} // namespace platform
