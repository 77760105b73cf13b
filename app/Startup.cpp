#include "app/Startup.h"

#include "platform/Application.h"
#include "platform/EventGuard.h"
#include "platform/Form.h"
#include "platform/Pause.h"
#include "platform/ProgramFolder.h"
#include "platform/StartupTrace.h"
#include "ui/main/frmMainfrm.h"
#include "ui/options/frmOptions.h"
#include "ui/splash/frmSplash.h"

#include <chrono>

using namespace std::chrono_literals;

namespace Module1 {

namespace {
// Long enough to read the splash, whatever the machine.
constexpr auto startupPause = 1s;
} // namespace

void Main() {
    // Made first: its key filter then stands behind the input block's.
    frmSplash::instance().load();
    startuptrace::mark("splash-loaded");
    {
        // Start-up holds the thread: the keys and clicks it meets are dropped, not handled
        // once it lets go.
        platform::InputBlock busy;
        {
            // Showing a splash runs the event loop a moment, and so does its first paint: a
            // close request meanwhile takes it down once both are over.
            platform::DeferredUnload deferred;
            // Fully drawn before the pause, which runs no event loop.
            frmSplash::instance().show().window().paintNow();
        }
        startuptrace::mark("splash-painted");

        frmOptions::instance().load().txtPath.setText(platform::programFolder());

        platform::waitUntil(std::chrono::steady_clock::now() + startupPause);
        startuptrace::mark("pause-ended");
    }

    frmMainfrm& main = frmMainfrm::instance().load(); // reads the results file from that folder
    if (startuptrace::enabled())
        main.window().onFirstPaint([] { startuptrace::mark("main-painted"); });
    frmMainfrm::instance().show();
    frmSplash::instance().unload();
}

void Start() {
    platform::guarded(Main);
    platform::guarded([] { frmMainfrm::instance().show(); });
    platform::guarded([] { frmSplash::instance().unload(); });
}

} // namespace Module1
