#include "platform/nix/Fonts.h"

#include <QStringList>

namespace platform {

void installFontSubstitutions() {
    static const bool done = [] {
        // Liberation Sans is metric-compatible with Arial; the dialog face is close to it too.
        const QStringList fallbacks{"Liberation Sans", "Arial", "DejaVu Sans", "Sans Serif"};
        QFont::insertSubstitutions("MS Sans Serif", fallbacks);
        QFont::insertSubstitutions("Arial", fallbacks);
        return true;
    }();
    (void)done;
}

QFont font(const char* face, double pointSize, int weight, bool italic, bool underline) {
    installFontSubstitutions();
    QFont f(QString::fromLatin1(face));
    f.setPointSizeF(pointSize);
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

QFont defaultFont() {
    return font("MS Sans Serif", 8.25);
}

} // namespace platform
