#pragma once

#include <QColor>
#include <QPoint>
#include <QWidget>

namespace platform {

// A straight line between two twips points of its container, of a width in pixels and a colour.
// It only draws: clicks go through it to whatever lies beneath.
class LineControl : public QWidget {
    Q_OBJECT
public:
    LineControl(QWidget* container, QPoint fromTwips, QPoint toTwips, int widthPixels,
                QColor colour);

    QPoint from() const { return m_from; }
    QPoint to() const { return m_to; }
    int lineWidth() const { return m_width; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPoint m_from; // in the container's pixels
    QPoint m_to;
    int m_width;
    QColor m_colour;
};

} // namespace platform
