#pragma once

#include "platform/ProgramFolder.h"
#include "ui/options/frmOptions.h"

namespace testsupport {

// Points the results file at the program's folder, as start-up does before the main window
// loads: under a TestEnvironment a folder of the test's own, where the window's design would
// name a drive's root, which every suite shares.
inline void resultsInProgramFolder() {
    frmOptions::instance().load().txtPath.setText(platform::programFolder());
}

} // namespace testsupport
