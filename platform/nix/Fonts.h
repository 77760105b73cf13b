#pragma once

#include "platform/Window.h"

#include <QFont>

namespace platform {

// A font of a window's table. Faces missing on this system fall back to an installed
// sans-serif face of similar metrics.
QFont font(const FontDesign& design);

// Registers the fall-backs; font() does it on first use, start-up calls it early.
void installFontSubstitutions();

} // namespace platform
