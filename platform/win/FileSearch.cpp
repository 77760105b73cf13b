#include "platform/FileSearch.h"

#include "platform/Service.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace platform {

namespace {

class SystemFileSearch : public FileSearch {
public:
    std::string findOrdinaryFile(const std::string& programPath) override {
        if (programPath.empty() ||
            programPath.find_first_of(std::string("*?\0", 3)) != std::string::npos)
            return {};
        WIN32_FIND_DATAA found;
        HANDLE search = ::FindFirstFileA(programPath.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return {};
        std::string name;
        constexpr DWORD notOrdinary =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        do {
            if (!(found.dwFileAttributes & notOrdinary)) {
                name = found.cFileName;
                break;
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
        return name;
    }
};

} // namespace

FileSearch& FileSearch::current() {
    return currentService<FileSearch, SystemFileSearch>();
}

FileSearch* FileSearch::install(FileSearch* search) {
    return installService(search);
}

} // namespace platform
