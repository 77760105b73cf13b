#pragma once

#include "platform/Form.h"

#include <QStringList>

namespace testsupport {

// The layout check (LayoutCheck.h) of the widgets that the Qt front end built for a window, as
// the window stands. Returns one line per fault; an empty list means none.
QStringList layoutFaults(platform::Form& form);

} // namespace testsupport

// Fails the test with every fault that layoutFaults finds.
#define QUORVEX_VERIFY_LAYOUT(form)                                                                \
    do {                                                                                           \
        const QStringList layoutFaultsFound = testsupport::layoutFaults(form);                     \
        QVERIFY2(layoutFaultsFound.isEmpty(),                                                      \
                 qPrintable(layoutFaultsFound.join(QLatin1String("; "))));                         \
    } while (false)
