#pragma once

#include "platform/AppVersion.h"

#include <string>

namespace platform {

// The application information that windows and message boxes show.
inline constexpr const char* appTitle = "Quorvex";

// "Version 1.1.0": the numbers in decimal, no padding, joined by points.
inline std::string versionLine() {
    return "Version " + std::to_string(version::major) + "." + std::to_string(version::minor) +
           "." + std::to_string(version::revision);
}

} // namespace platform
