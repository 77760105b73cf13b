#include "platform/FileSearch.h"

#include "platform/Service.h"
#include "platform/nix/NativePath.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <utility>

namespace platform {

namespace {

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

// The entry of the folder whose name matches without regard to case (an ordinary file when
// asked): the exact spelling if there is one, else the first in name order, so that the
// outcome does not depend on the order of the listing.
std::optional<fs::path> entryNamed(const FolderAndName& place, bool ordinaryOnly) {
    std::optional<fs::path> best;
    std::error_code error;
    for (fs::directory_iterator entry(place.folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string found = entry->path().filename().string();
        std::error_code unreadable;
        if (!equalNoCase(found, place.name) ||
            (ordinaryOnly && !fs::is_regular_file(entry->path(), unreadable)))
            continue;
        if (found == place.name)
            return entry->path();
        if (!best || found < best->filename().string())
            best = entry->path();
    }
    return best;
}

// The path the last search was asked for and the entry it found there, in this system's form.
struct Found {
    std::string asked;
    std::string entry;
};

Found& lastFound() {
    static Found found;
    return found;
}

class SystemFileSearch : public FileSearch {
public:
    std::string findOrdinaryFile(const std::string& programPath) override {
        if (programPath.find('\0') != std::string::npos)
            return {};
        const FolderAndName place = split(slashPath(programPath));
        if (place.name.empty() || place.name.starts_with('.') ||
            place.name.find_first_of("*?") != std::string::npos)
            return {};
        const auto found = entryNamed(place, true);
        if (!found)
            return {};
        lastFound() = {slashPath(programPath), found->string()};
        return found->filename().string();
    }
};

} // namespace

FileSearch& FileSearch::current() {
    return currentService<FileSearch, SystemFileSearch>();
}

FileSearch* FileSearch::install(FileSearch* search) {
    return installService(search);
}

std::string resolvedNativePath(std::string_view programPath) {
    const std::string native = slashPath(programPath);
    if (native != lastFound().asked)
        return native;
    return std::exchange(lastFound(), {}).entry;
}

} // namespace platform
