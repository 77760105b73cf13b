#pragma once

#include <QFrame>
#include <QPixmap>

namespace platform {

// A picture drawn pixel for pixel at the screen's density, never smoothed: each of its pixels
// a block of whole device pixels, as many as the density rounded (at least one). A stretched
// picture (an image control) fills its box instead, each device pixel taking the nearest
// picture pixel.
class PictureWidget : public QFrame {
public:
    PictureWidget(const QPixmap& picture, bool stretched, bool centred, QWidget* parent);

    // The picture as drawn at that density, its device pixel ratio set; `box` in
    // device-independent pixels is the size a stretched picture fills.
    QPixmap drawn(qreal ratio, QSize box) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
    bool m_stretched;
    bool m_centred;
};

} // namespace platform
