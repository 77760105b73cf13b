#pragma once

#include <QFont>

namespace platform {

// A font by face, point size and weight (400 normal, 700 bold). Faces missing on this system
// fall back to an installed sans-serif face of similar metrics.
QFont font(const char* face, double pointSize, int weight = 400, bool italic = false,
           bool underline = false);

// The default font of the program's windows.
QFont defaultFont();

// Registers the fall-backs; font() does it on first use, start-up calls it early.
void installFontSubstitutions();

} // namespace platform
