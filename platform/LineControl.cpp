#include "platform/LineControl.h"

#include "platform/Twips.h"

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
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_colour, m_width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(m_from - pos(), m_to - pos());
}

} // namespace platform
