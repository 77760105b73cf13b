#pragma once

#include "platform/Window.h"

#include <QFont>

#include <thread>

namespace platform {

// A font of a window's table. Faces missing on this system fall back to an installed
// sans-serif face of similar metrics.
QFont font(const FontDesign& design);

// Reads the system's font configuration on a thread of its own for as long as it lives, so
// that the first text shown does not wait for it: made while Qt connects to the window system,
// which mostly waits on the display server. Gone before any font is asked for.
class FontConfigurationReader {
public:
    FontConfigurationReader();
    ~FontConfigurationReader();
    FontConfigurationReader(const FontConfigurationReader&) = delete;
    FontConfigurationReader& operator=(const FontConfigurationReader&) = delete;

private:
    std::thread m_reader;
};

// Registers the fall-backs; font() does it on first use, start-up calls it early.
void installFontSubstitutions();

} // namespace platform
