#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

// Window coordinates are given in twips (1/1440 inch); at 96 dpi a device-independent pixel is
// 15 twips. Qt's high-dpi scaling takes it from there.
namespace platform::twips {

inline constexpr int perPixel = 15;

int toPixels(int twips);
int fromPixels(int pixels);
QPoint toPixels(QPoint twips);
QRect toPixels(int left, int top, int width, int height);

// Places a child relative to its container's client area.
void setGeometry(QWidget* widget, int left, int top, int width, int height);
// Moves a child keeping its size.
void setLeft(QWidget* widget, int left);

} // namespace platform::twips
