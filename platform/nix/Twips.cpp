#include "platform/nix/Twips.h"

#include <QWidget>

#include <cmath>

namespace platform::twips {

int toPixels(int twips) {
    return static_cast<int>(std::lround(twips / double(perPixel)));
}
int fromPixels(int pixels) {
    return pixels * perPixel;
}
QPoint toPixels(QPoint p) {
    return {toPixels(p.x()), toPixels(p.y())};
}

QRect toPixels(int left, int top, int width, int height) {
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

void setGeometry(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(toPixels(left, top, width, height));
}

void setLeft(QWidget* widget, int left) {
    widget->move(toPixels(left), widget->y());
}

} // namespace platform::twips
