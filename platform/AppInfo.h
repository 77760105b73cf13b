#pragma once

#include "platform/AppVersion.h"

#include <string>

namespace platform {

// The application information that windows and message boxes show.
struct AppVersionNumbers {
    int major = version::major;
    int minor = version::minor;
    int revision = version::revision;
};

inline constexpr const char* appTitle = "Quorvex";

// "Version 1.1.0": the numbers in decimal, no padding, joined by points.
inline std::string versionLine(const AppVersionNumbers& v = {}) {
    return "Version " + std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
           std::to_string(v.revision);
}

} // namespace platform
