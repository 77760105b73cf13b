#pragma once

#include "platform/win/Win32.h"

#include <string>
#include <vector>

struct IAccPropServices;

namespace platform::win {

// The name that screen readers announce for a control, given through the system's
// accessibility annotations where the system offers them; elsewhere the control keeps the name
// the system makes of the label just before it. For a combo box its edit field is named as
// well, since that is what takes the focus. The annotations go with this object, which must go
// before the control's window does; the annotation service is held while any name stands.
class AccessibleName {
public:
    AccessibleName(HWND control, const std::wstring& name);
    ~AccessibleName();
    AccessibleName(const AccessibleName&) = delete;
    AccessibleName& operator=(const AccessibleName&) = delete;

private:
    IAccPropServices* m_services;
    std::vector<HWND> m_named;
};

} // namespace platform::win
