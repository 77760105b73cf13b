#include "platform/FileSearch.h"

#include "platform/NativePath.h"
#include "platform/Service.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <algorithm>
#include <filesystem>
#include <vector>
#endif

namespace platform {

namespace {

bool namesNothing(std::string_view path) {
    return path.empty() || path.find('\0') != std::string_view::npos;
}

#ifdef _WIN32

class SystemFileSearch : public FileSearch {
public:
    std::string findOrdinaryFile(const std::string& programPath) override {
        if (namesNothing(programPath) || programPath.find_first_of("*?") != std::string::npos)
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

#else

namespace fs = std::filesystem;

bool equalNoCase(std::string_view a, std::string_view b) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return fold(x) == fold(y); });
}

struct FolderAndName {
    std::string folder;
    std::string name;
};

FolderAndName split(const std::string& nativePath) {
    const std::size_t slash = nativePath.rfind('/');
    if (slash == std::string::npos)
        return {".", nativePath};
    return {slash == 0 ? "/" : nativePath.substr(0, slash), nativePath.substr(slash + 1)};
}

// The entries of the folder whose names match without regard to case: the exact spelling
// first, then the others in name order, so that the outcome does not depend on the listing.
std::vector<fs::path> entriesNamed(const std::string& folder, const std::string& name) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (equalNoCase(entry->path().filename().string(), name))
            found.push_back(entry->path());
    }
    std::sort(found.begin(), found.end(), [&](const fs::path& a, const fs::path& b) {
        const bool aExact = a.filename() == name, bExact = b.filename() == name;
        return aExact != bExact ? aExact : a.filename() < b.filename();
    });
    return found;
}

class SystemFileSearch : public FileSearch {
public:
    std::string findOrdinaryFile(const std::string& programPath) override {
        if (namesNothing(programPath))
            return {};
        const auto [folder, name] = split(nativePath(programPath));
        if (name.empty() || name.find_first_of("*?") != std::string::npos)
            return {};
        for (const fs::path& entry : entriesNamed(folder, name)) {
            const std::string found = entry.filename().string();
            std::error_code error;
            if (!found.starts_with('.') && fs::is_regular_file(entry, error))
                return found;
        }
        return {};
    }
};

#endif
} // namespace

FileSearch& FileSearch::current() {
    return currentService<FileSearch, SystemFileSearch>();
}

FileSearch* FileSearch::install(FileSearch* search) {
    return installService(search);
}

std::string resolvedNativePath(std::string_view programPath) {
    std::string native = nativePath(programPath);
#ifndef _WIN32
    std::error_code error;
    if (namesNothing(native) || fs::exists(native, error))
        return native;
    const auto [folder, name] = split(native);
    if (name.empty())
        return native;
    const std::vector<fs::path> entries = entriesNamed(folder, name);
    if (!entries.empty())
        return entries.front().string();
#endif
    return native;
}

} // namespace platform
