#include "platform/nix/Pictures.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace platform {

PictureWidget::PictureWidget(const QPixmap& picture, bool stretched, bool centred, QWidget* parent)
    : QFrame(parent), m_picture(picture), m_stretched(stretched), m_centred(centred) {}

QPixmap PictureWidget::drawn(qreal ratio, QSize box) const {
    const QSize size = m_stretched ? (QSizeF(box) * ratio).toSize()
                                   : m_picture.size() * std::max(1L, std::lround(ratio));
    QPixmap pixels = m_picture.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    pixels.setDevicePixelRatio(ratio);
    return pixels;
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const qreal ratio = devicePixelRatioF();
    const QRect box = contentsRect();
    const QPixmap pixels = drawn(ratio, box.size());
    QPointF at = box.topLeft();
    if (m_centred) {
        // On a whole device pixel, so that no block is split between two.
        const QSizeF spare = QSizeF(box.size()) - pixels.deviceIndependentSize();
        at += QPointF(std::round(spare.width() / 2 * ratio) / ratio,
                      std::round(spare.height() / 2 * ratio) / ratio);
    }
    QPainter(this).drawPixmap(at, pixels);
}

} // namespace platform
