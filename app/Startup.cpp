#include "app/Startup.h"

#include "platform/EventGuard.h"
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
    frmSplash& splash = frmSplash::instance().show();
    splash.window().paintNow(); // fully drawn before the pause, which runs no event loop
    startuptrace::mark("splash-painted");

    frmOptions::instance().load().txtPath.setText(platform::programFolder());

    platform::waitUntil(std::chrono::steady_clock::now() + startupPause);
    startuptrace::mark("pause-ended");

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
