#include "platform/nix/Pictures.h"

#include <QImage>
#include <QPainter>

#include <cmath>

namespace platform {

namespace {

// Each device pixel takes the picture pixel under its centre: no colour the picture lacks, and
// where the ratio is not whole, blocks of uneven size spread evenly.
QImage nearestPixels(const QImage& picture, QSize size) {
    const QImage from = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage to(size, from.format());
    for (int y = 0; y < size.height(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(
            from.constScanLine(int((2 * y + 1) * qint64(from.height()) / (2 * size.height()))));
        auto* target = reinterpret_cast<QRgb*>(to.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            target[x] = source[(2 * x + 1) * qint64(from.width()) / (2 * size.width())];
    }
    return to;
}

} // namespace

PictureWidget::PictureWidget(const QPixmap& picture, bool stretched, bool centred, QWidget* parent)
    : QFrame(parent), m_picture(picture), m_stretched(stretched), m_centred(centred) {}

QPixmap PictureWidget::drawn(qreal ratio, QSize box) const {
    const QSize room = (QSizeF(box) * ratio).toSize();
    QSize size = m_stretched ? room : (QSizeF(m_picture.size()) * ratio).toSize();
    // A picture larger than its box is made smaller, its shape kept, rather than cut.
    if (!m_stretched && (size.width() > room.width() || size.height() > room.height()))
        size.scale(room, Qt::KeepAspectRatio);
    if (size.isEmpty())
        return {};
    QPixmap pixels = QPixmap::fromImage(nearestPixels(m_picture.toImage(), size));
    pixels.setDevicePixelRatio(ratio);
    return pixels;
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const QRect box = contentsRect();
    const QPixmap pixels = drawn(devicePixelRatioF(), box.size());
    QPointF at = box.topLeft();
    if (m_centred) {
        const QSizeF spare = QSizeF(box.size()) - pixels.deviceIndependentSize();
        at += QPointF(spare.width(), spare.height()) / 2;
    }
    QPainter painter(this);
    // On whole device pixels, wherever the widget lies, so that no block is split between two.
    const QTransform toDevice = painter.deviceTransform();
    const QPointF device = toDevice.map(at);
    at = toDevice.inverted().map(QPointF(std::round(device.x()), std::round(device.y())));
    painter.drawPixmap(at, pixels);
}

} // namespace platform
