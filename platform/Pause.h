#pragma once

#include <chrono>

namespace platform {

using Deadline = std::chrono::steady_clock::time_point;

// Blocks the calling (user-interface) thread until a deadline without running an event loop,
// so that no input is handled meanwhile. Tests install one that does not sleep.
class Waiter {
public:
    virtual ~Waiter() = default;
    virtual void waitUntil(Deadline deadline) = 0;

    static Waiter& current();
    // Installs a replacement (nullptr restores the real one); returns the one it replaces.
    static Waiter* install(Waiter* waiter);
};

void waitUntil(Deadline deadline);

// Spreads a run of steps evenly over a total time, so that an animation lasts as long on a
// fast machine as on a slow one: a deadline per step, not a count.
class StepPacer {
public:
    StepPacer(std::chrono::nanoseconds total, int steps) : m_total(total), m_steps(steps) {}

    // Waits until the end of the given step's share of the time; step 0 starts the clock.
    void waitAfter(int step);

private:
    std::chrono::nanoseconds m_total;
    int m_steps;
    Deadline m_start{};
};

} // namespace platform
