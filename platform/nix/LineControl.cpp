#include "platform/nix/LineControl.h"

#include "platform/nix/Twips.h"

#include <QPainter>

namespace platform {

LineControl::LineControl(QWidget* container, QPoint fromTwips, QPoint toTwips, int widthPixels,
                         QColor colour)
    : QWidget(container), m_from(twips::toPixels(fromTwips)), m_to(twips::toPixels(toTwips)),
      m_width(widthPixels), m_colour(colour) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    const int margin = widthPixels / 2 + 1;
    setGeometry(QRect(m_from, m_to).normalized().adjusted(-margin, -margin, margin, margin));
}

void LineControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Smoothing would spread a level or upright line of odd width over two rows of pixels.
    const bool slanted = m_from.x() != m_to.x() && m_from.y() != m_to.y();
    painter.setRenderHint(QPainter::Antialiasing, slanted);
    painter.setPen(QPen(m_colour, m_width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(m_from - pos(), m_to - pos());
}

} // namespace platform
