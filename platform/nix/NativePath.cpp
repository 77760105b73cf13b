#include "platform/nix/NativePath.h"

namespace platform {

std::string slashPath(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'))) {
        path.remove_prefix(2);
        std::string rooted = "/";
        rooted += path;
        return slashPath(rooted);
    }
    std::string result;
    result.reserve(path.size());
    for (char c : path) {
        const char separator = c == '\\' ? '/' : c;
        if (separator == '/' && !result.empty() && result.back() == '/')
            continue;
        result += separator;
    }
    return result;
}

} // namespace platform
