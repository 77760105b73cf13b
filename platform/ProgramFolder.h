#pragma once

#include <string>

namespace platform {

// The program's folder, where start-up points the results file: the folder that holds the
// running executable unless a test installed another, so that suites running side by side never
// share one. In the form the user sees in a folder field: this system's separators, no trailing
// separator unless the folder is a root.
class ProgramFolder {
public:
    virtual ~ProgramFolder() = default;
    virtual std::string path() = 0;

    static ProgramFolder& current();
    // Installs a replacement (nullptr restores the real one); returns the one it replaces.
    static ProgramFolder* install(ProgramFolder* folder);
};

inline std::string programFolder() {
    return ProgramFolder::current().path();
}

// The folder that holds the running executable, as this system reports it, in that form.
std::string executableFolder();

// The rule on its own, for a folder given in this system's form ("/opt/quorvex/",
// "C:\Quorvex\", or "C:/Quorvex"). Trailing separators go unless what is left is a root: a run
// of separators only keeps its first ("/"), a drive "C:", "C:/" or "C:\" gives "C:\". A folder
// on a drive is written with backslashes throughout; any other keeps its separators as given,
// so a share "\\server\share\" becomes "\\server\share". An empty text stays empty.
std::string programFolderText(std::string dir);

} // namespace platform
