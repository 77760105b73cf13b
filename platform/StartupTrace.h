#pragma once

// Start-up milestones for the benchmark script: when QUORVEX_STARTUP_TRACE names a file, each
// milestone is appended to it as a line "name wall-clock-nanoseconds processor-nanoseconds", the
// last being what std::clock() tells (on Linux the processor time of the whole process so far,
// its threads included). Otherwise nothing happens.
namespace startuptrace {

bool enabled();
void mark(const char* milestone);

} // namespace startuptrace
