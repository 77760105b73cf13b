#pragma once

#include "platform/Form.h"

#include <QStringList>

namespace testsupport {

// Checks the widgets that the front end built for a window against the window's own table, as
// the window stands at design time: each control exactly at its table rectangle in pixels (an
// auto-sized label at its caption's extent, from the edge it keeps), the client area of the
// table's size at the table's place on the screen, every control inside its container, no two
// focusable controls over each other, and every caption inside its box. Controls parked outside
// their container by the design, and whatever they hold, are only checked for their place.
// Returns one line per fault; an empty list means none.
QStringList layoutFaults(platform::Form& form);

} // namespace testsupport

// Fails the test with every fault that layoutFaults finds.
#define QUORVEX_VERIFY_LAYOUT(form)                                                                \
    do {                                                                                           \
        const QStringList layoutFaultsFound = testsupport::layoutFaults(form);                     \
        QVERIFY2(layoutFaultsFound.isEmpty(),                                                      \
                 qPrintable(layoutFaultsFound.join(QLatin1String("; "))));                         \
    } while (false)
