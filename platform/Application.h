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

} // namespace platform
