#include "platform/StartupTrace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace startuptrace {

namespace {
const char* traceFile() {
    const char* path = std::getenv("QUORVEX_STARTUP_TRACE");
    return path && *path ? path : nullptr;
}
} // namespace

bool enabled() {
    return traceFile() != nullptr;
}

void mark(const char* milestone) {
    const char* path = traceFile();
    if (!path)
        return;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const double processor = double(std::clock()) / CLOCKS_PER_SEC;
    if (std::FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, "%s %lld %lld\n", milestone,
                     static_cast<long long>(std::chrono::nanoseconds(now).count()),
                     static_cast<long long>(processor * 1e9));
        std::fclose(file);
    }
}

} // namespace startuptrace
