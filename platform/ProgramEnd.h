#pragma once

#include <functional>

namespace platform {

// Ends the program at once: every window goes, nothing is asked. Tests replace it.
void endProgram();

using EndFunction = std::function<void()>;
// Installs a replacement (an empty function restores the real one); returns the old one.
EndFunction replaceEndProgram(EndFunction end);

} // namespace platform
