#include "platform/Pause.h"

#include <thread>

namespace platform {

namespace {
WaitFunction& installedWait() {
    static WaitFunction wait;
    return wait;
}
} // namespace

void waitUntil(Deadline deadline) {
    if (const auto& wait = installedWait()) {
        wait(deadline);
        return;
    }
    // Sleeping instead of spinning keeps the machine cool; the thread still handles nothing.
    std::this_thread::sleep_until(deadline);
}

void StepPacer::waitAfter(int step) {
    if (step == 0)
        m_start = std::chrono::steady_clock::now();
    waitUntil(m_start + m_total * (step + 1) / m_steps);
}

WaitFunction replaceWait(WaitFunction wait) {
    WaitFunction old = std::move(installedWait());
    installedWait() = std::move(wait);
    return old;
}

} // namespace platform
