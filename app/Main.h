#pragma once

namespace Module1 {

// The program's start: puts up the windows. The event loop runs afterwards.
void Main();

} // namespace Module1
