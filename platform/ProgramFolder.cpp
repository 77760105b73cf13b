#include "platform/ProgramFolder.h"

#include "platform/Service.h"

#include <algorithm>

namespace platform {

namespace {
bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

bool startsWithDrive(const std::string& dir) {
    const char letter = dir.empty() ? '\0' : dir[0];
    return dir.size() >= 2 && dir[1] == ':' &&
           ((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z'));
}

class ExecutableFolder : public ProgramFolder {
public:
    std::string path() override { return executableFolder(); }
};
} // namespace

ProgramFolder& ProgramFolder::current() {
    return currentService<ProgramFolder, ExecutableFolder>();
}

ProgramFolder* ProgramFolder::install(ProgramFolder* folder) {
    return installService(folder);
}

std::string programFolderText(std::string dir) {
    if (startsWithDrive(dir)) {
        // The results file's name is joined on with a backslash, so a drive folder reads the
        // way the user types one, whatever form the system reported.
        std::replace(dir.begin(), dir.end(), '/', '\\');
        while (dir.size() > 3 && dir.back() == '\\')
            dir.pop_back();
        if (dir.size() == 2)
            dir += '\\';
        return dir;
    }
    std::size_t end = dir.size();
    while (end > 1 && isSeparator(dir[end - 1]))
        --end;
    // A text of separators only is the root and keeps its first one.
    dir.resize(end);
    return dir;
}

} // namespace platform
