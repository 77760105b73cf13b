#include "platform/Application.h"

#include "platform/ProgramEnd.h"
#include "platform/Service.h"
#include "platform/StartupTrace.h"
#include "platform/WindowInstance.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Win32.h"

#include <commctrl.h>

namespace platform {

namespace {

// The end of the program: every window disappears at once, and the event loop stops at its next
// turn, after which run() takes the windows down.
class QuitProgramEnd : public ProgramEnd {
public:
    void endProgram() override {
        WindowInstanceBase::hideAll();
        ::PostQuitMessage(0);
    }
};

} // namespace

ProgramEnd& ProgramEnd::current() {
    return currentService<ProgramEnd, QuitProgramEnd>();
}

ProgramEnd* ProgramEnd::install(ProgramEnd* end) {
    return installService(end);
}

Application::Application() {
    // The start-up figures count from here, the first thing the program does.
    startuptrace::mark("program-start");
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    startuptrace::mark("toolkit-ready");
}

Application::~Application() = default;

int Application::run() {
    int status = 0;
    MSG msg{};
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            status = int(msg.wParam);
            break;
        }
        if (got == -1)
            break;
        win::processMessage(msg);
    }
    WindowInstanceBase::destroyAll();
    return status;
}

} // namespace platform
