#pragma once

#include <string>
#include <string_view>

namespace platform {

// Looks for a file of one exact name among ordinary files: a folder, a hidden file (here a
// name starting with ".") or a system file of that name is not found. The path is in the
// program's backslash form; the last name in it matches without regard to case, as on a file
// system that ignores case, and holds no wildcards. A path holding a zero character names
// nothing.
class FileSearch {
public:
    virtual ~FileSearch() = default;

    // The found file's name as stored, or the empty text when there is none.
    virtual std::string findOrdinaryFile(const std::string& programPath) = 0;

    // The search in use: the system's unless a test installed another.
    static FileSearch& current();
    // Installs a replacement (nullptr restores the system's); returns the one it replaces.
    static FileSearch* install(FileSearch* search);
};

// This system's path for a path in the program's form. Where names match with regard to case,
// the path that the last search was asked for comes back once as the entry it found, so that
// what the search found can be started; any other path comes back as written.
std::string resolvedNativePath(std::string_view programPath);

} // namespace platform
