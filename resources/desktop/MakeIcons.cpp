// Draws the program icon at the icon theme's sizes for the desktop's menus. Each pixel of the
// small picture becomes a square block, so the enlarged icon stays as crisp as the original.
// Usage: quorvex_make_icons ICON.xpm FOLDER SIZE...
// writes FOLDER/<SIZE>x<SIZE>/apps/quorvex.png for each size, a whole multiple of the icon's.
#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s ICON.xpm FOLDER SIZE...\n", argv[0]);
        return 2;
    }
    const QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull() || icon.width() != icon.height()) {
        std::fprintf(stderr, "%s: not a square picture\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        bool number = false;
        const int size = QByteArray(argv[i]).toInt(&number);
        if (!number || size < icon.width() || size % icon.width() != 0) {
            std::fprintf(stderr, "%s: not a whole multiple of %d\n", argv[i], icon.width());
            return 1;
        }
        const QString folder =
            QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        const QImage enlarged =
            icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (!QDir().mkpath(folder) || !enlarged.save(folder + QStringLiteral("/quorvex.png"))) {
            std::fprintf(stderr, "%s: cannot write the icon\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
