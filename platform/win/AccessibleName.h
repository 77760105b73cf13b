#pragma once

#include "platform/win/Win32.h"

#include <string>

namespace platform::win {

// Gives a control the name that screen readers announce for it, through the system's
// accessibility annotations, where the system offers them; elsewhere the control keeps the
// name the system makes of the label just before it. For a combo box its edit field is named
// as well, since that is what takes the focus.
void setAccessibleName(HWND control, const std::wstring& name);

} // namespace platform::win
