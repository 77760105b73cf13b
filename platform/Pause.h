#pragma once

#include <chrono>
#include <functional>

namespace platform {

using Deadline = std::chrono::steady_clock::time_point;

// Blocks the calling (user-interface) thread until the deadline without running an event
// loop, so that no input is handled meanwhile. Tests replace the wait so they do not sleep.
void waitUntil(Deadline deadline);

using WaitFunction = std::function<void(Deadline)>;
// Installs a replacement wait; an empty function restores the real one. Returns the old one.
WaitFunction replaceWait(WaitFunction wait);

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
