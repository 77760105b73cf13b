#pragma once

namespace platform {

// The window system's side of the program's life: set up before the first window, and the
// event loop that runs until the program ends, after which every window is taken down.
class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    int run();
};

// While one stands, the program is busy without handling events (the race, the start-up
// pause): the keys and clicks that reach its windows meanwhile are dropped when it goes, not
// handled afterwards as if the user had made them then. What the window system sends besides
// (paint, close, focus) is handled when it goes. Blocks may nest; the outermost one counts.
class InputBlock {
public:
    InputBlock();
    ~InputBlock();
    InputBlock(const InputBlock&) = delete;
    InputBlock& operator=(const InputBlock&) = delete;
};

} // namespace platform
