#pragma once

class QWidget;

// Start-up milestones for the benchmark script: when QUORVEX_STARTUP_TRACE names a file, each
// milestone is appended to it as a line "name wall-clock-nanoseconds". Otherwise nothing happens.
namespace startuptrace {

void mark(const char* milestone);

// Marks the milestone at the window's first paint after this call.
void markFirstPaint(QWidget* window, const char* milestone);

} // namespace startuptrace
