#include "resources/Pictures.h"

// The pictures are compiled in as their XPM text: read from it directly, with no image reader,
// whose plugins would be looked for and opened before the first window.
#include "resources/horse.xpm"
#include "resources/icon.xpm"

namespace pictures {

QPixmap horse() {
    return QPixmap(horse_xpm);
}

QPixmap programIcon() {
    return QPixmap(icon_xpm);
}

QIcon programWindowIcon(std::initializer_list<int> sizes) {
    const QPixmap icon = programIcon();
    QIcon scaled;
    for (const int size : sizes)
        scaled.addPixmap(icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    return scaled;
}

} // namespace pictures
