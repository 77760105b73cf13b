#include "platform/nix/Fonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QStringList>

#include <fontconfig/fontconfig.h>

#include <system_error>

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

// The configuration is the library's one for the process, and reading it is safe beside other
// threads: Qt's own first call finds it read. Without a thread, Qt reads it when first asked.
FontConfigurationReader::FontConfigurationReader() {
    try {
        m_reader = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
    }
}

FontConfigurationReader::~FontConfigurationReader() {
    if (m_reader.joinable())
        m_reader.join();
}

namespace {

// The face itself where it is installed, else the first installed of its substitutes. Asked
// for a face it does not have, Qt would first have the system sort every font by its likeness
// to it, which costs more than all else the first window does with its fonts, and then take
// the same face as this.
QString installedFace(const char* face) {
    static QHash<QString, QString> chosen;
    const QString name = QString::fromLatin1(face);
    if (const auto known = chosen.constFind(name); known != chosen.cend())
        return *known;
    const QStringList installed = QFontDatabase::families();
    QString found = name;
    if (!installed.contains(name, Qt::CaseInsensitive)) {
        for (const QString& substitute : QFont::substitutes(name)) {
            if (installed.contains(substitute, Qt::CaseInsensitive)) {
                found = substitute;
                break;
            }
        }
    }
    chosen.insert(name, found);
    return found;
}

} // namespace

QFont font(const FontDesign& design) {
    installFontSubstitutions();
    QFont f(installedFace(design.face));
    f.setPointSizeF(design.points);
    f.setWeight(static_cast<QFont::Weight>(design.weight));
    f.setItalic(design.italic);
    f.setUnderline(design.underline);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

} // namespace platform
