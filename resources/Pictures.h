#pragma once

#include <QIcon>
#include <QPixmap>

namespace pictures {
QPixmap horse();
QPixmap programIcon();
QIcon programWindowIcon();
} // namespace pictures
