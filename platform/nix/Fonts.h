#pragma once

#include "platform/Window.h"

#include <QFont>

#include <thread>

namespace platform {

// A font of a window's table. Faces missing on this system fall back to an installed
// sans-serif face of similar metrics.
QFont font(const FontDesign& design);

// Registers the fall-backs; font() does it on first use, start-up calls it early.
void installFontSubstitutions();

// Reads the system's font configuration on a thread of its own for as long as it stands: the
// first window's texts need it, and it can be read while the window system connects.
class FontConfigurationReader {
public:
    FontConfigurationReader();
    ~FontConfigurationReader();
    FontConfigurationReader(const FontConfigurationReader&) = delete;
    FontConfigurationReader& operator=(const FontConfigurationReader&) = delete;

private:
    std::thread m_reader;
};

} // namespace platform
