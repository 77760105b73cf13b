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

// At the sizes the menu entry's icons come in (desktop/CMakeLists.txt), each pixel a block, so
// that a dock or a task switcher need not blur it.
QIcon programWindowIcon() {
    const QPixmap icon = programIcon();
    QIcon sizes;
    for (const int size : {16, 32, 48, 64, 128, 256})
        sizes.addPixmap(icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    return sizes;
}

} // namespace pictures
