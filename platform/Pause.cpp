#include "platform/Pause.h"

#include "platform/Service.h"

#include <thread>

namespace platform {

namespace {
class SleepingWaiter : public Waiter {
public:
    // Sleeping instead of spinning keeps the machine cool; the thread still handles nothing.
    void waitUntil(Deadline deadline) override { std::this_thread::sleep_until(deadline); }
};
} // namespace

Waiter& Waiter::current() {
    return currentService<Waiter, SleepingWaiter>();
}

Waiter* Waiter::install(Waiter* waiter) {
    return installService(waiter);
}

void waitUntil(Deadline deadline) {
    Waiter::current().waitUntil(deadline);
}

void StepPacer::waitAfter(int step) {
    if (step == 0)
        m_start = std::chrono::steady_clock::now();
    waitUntil(m_start + m_total * (step + 1) / m_steps);
}

} // namespace platform
