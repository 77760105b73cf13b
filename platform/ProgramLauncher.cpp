#include "platform/ProgramLauncher.h"

#include "platform/RuntimeError.h"

namespace platform {

std::string launchedPath(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    if (text.size() >= 2 && text.starts_with('"') && text.ends_with('"'))
        text = text.substr(1, text.size() - 2);
    if (text.empty())
        throw RuntimeError::of(RuntimeError::InvalidArgument);
    return std::string(text);
}

} // namespace platform
