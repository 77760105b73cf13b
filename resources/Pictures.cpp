#include "resources/Pictures.h"

// Static libraries need their resources registered by hand.
static void registerResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)done;
}

namespace pictures {

QPixmap horse() {
    registerResources();
    return QPixmap(QStringLiteral(":/quorvex/horse.xpm"));
}

QPixmap programIcon() {
    registerResources();
    return QPixmap(QStringLiteral(":/quorvex/icon.xpm"));
}

QIcon programWindowIcon() {
    return QIcon(programIcon());
}

} // namespace pictures
