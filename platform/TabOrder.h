#pragma once

#include <initializer_list>

class QWidget;

namespace platform {

// Chains the focus order of a window's controls, given in ascending tab index, and gives the
// first of them the focus for when the window is first activated. Controls that take no focus
// (labels, pictures) are left out by the caller.
void setTabOrder(std::initializer_list<QWidget*> controlsInTabOrder);

} // namespace platform
