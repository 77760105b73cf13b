#include "platform/nix/AutoSizeLabel.h"

#include <QEvent>

namespace platform {

AutoSizeLabel::AutoSizeLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

void AutoSizeLabel::setCaption(const QString& caption) {
    setText(caption);
    fitToCaption();
}

void AutoSizeLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitToCaption();
}

// The label's own size hint is its caption's extent plus its (empty) margins.
void AutoSizeLabel::fitToCaption() {
    const QRect box = geometry();
    const QSize fitted = sizeHint();
    const int left =
        alignment() & Qt::AlignRight ? box.x() + box.width() - fitted.width() : box.x();
    setGeometry(left, box.y(), fitted.width(), fitted.height());
}

} // namespace platform
