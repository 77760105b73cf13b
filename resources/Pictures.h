#pragma once

#include <QIcon>
#include <QPixmap>

#include <initializer_list>

namespace pictures {
QPixmap horse();
QPixmap programIcon();

// The program's icon as a window's, each pixel a block: at the sizes the menu entry's icons come
// in (desktop/CMakeLists.txt), so that a dock or a task switcher need not blur it, or at the
// first few of them.
inline constexpr std::initializer_list<int> windowIconSizes{16, 32, 48, 64, 128, 256};
inline constexpr std::initializer_list<int> firstWindowIconSizes{16, 32};
QIcon programWindowIcon(std::initializer_list<int> sizes = windowIconSizes);
} // namespace pictures
