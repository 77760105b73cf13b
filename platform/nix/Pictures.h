#pragma once

#include <QFrame>
#include <QPixmap>

namespace platform {

// A picture drawn at the screen's density, never smoothed: its size times the density, rounded
// to whole device pixels, each device pixel taking the nearest picture pixel (blocks of uneven
// size where the density is not whole), placed on whole device pixels and never cut by its box
// (one too small for it gets the picture made smaller). A stretched picture (an image control)
// fills its box instead, in the same way.
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
