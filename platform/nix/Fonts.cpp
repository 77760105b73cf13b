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

QFont font(const FontDesign& design) {
    installFontSubstitutions();
    QFont f(QString::fromLatin1(design.face));
    f.setPointSizeF(design.points);
    f.setWeight(static_cast<QFont::Weight>(design.weight));
    f.setItalic(design.italic);
    f.setUnderline(design.underline);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

} // namespace platform
