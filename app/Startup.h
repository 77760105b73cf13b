#pragma once

namespace Module1 {

// The program's start: puts up the windows. The event loop runs afterwards.
void Main();

// Main inside the guard of the event handlers: an error there is shown, and the main window
// still comes up, with the splash taken down, wherever it can.
void Start();

} // namespace Module1
