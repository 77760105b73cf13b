#pragma once

class QWidget;

namespace platform {

// Puts a just-shown window on the screen and paints it at once, for a window that must be seen
// before the user-interface thread blocks. Lets the window system map it first, handling no
// input meanwhile; gives up waiting for the map after half a second.
void paintNow(QWidget* window);

} // namespace platform
