#include "platform/ProgramFolder.h"

#include "platform/win/WideText.h"
#include "platform/win/Win32.h"

#include <string>

namespace platform {

std::string executableFolder() {
    // The path may be longer than MAX_PATH: grow the buffer until the whole path fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t cut = path.find_last_of(L"\\/");
    return programFolderText(win::utf8(cut == std::wstring::npos ? path : path.substr(0, cut)));
}

} // namespace platform
