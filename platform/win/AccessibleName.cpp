#include "platform/win/AccessibleName.h"

#include <initguid.h>

#include <oleacc.h>

namespace platform::win {

namespace {

using CoInitializeExFunction = HRESULT(WINAPI*)(void*, DWORD);
using CoCreateInstanceFunction = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);

// The annotation service, made once for the program. COM is reached at run time, so that the
// program imports no library beyond the window system's own; without it, no names are given.
IAccPropServices* service() {
    static IAccPropServices* const services = []() -> IAccPropServices* {
        HMODULE com = ::LoadLibraryW(L"ole32.dll");
        if (!com)
            return nullptr;
        const auto initialize = reinterpret_cast<CoInitializeExFunction>(
            reinterpret_cast<void*>(::GetProcAddress(com, "CoInitializeEx")));
        const auto create = reinterpret_cast<CoCreateInstanceFunction>(
            reinterpret_cast<void*>(::GetProcAddress(com, "CoCreateInstance")));
        if (!initialize || !create || FAILED(initialize(nullptr, COINIT_APARTMENTTHREADED)))
            return nullptr;
        void* made = nullptr;
        if (FAILED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                          IID_IAccPropServices, &made)))
            return nullptr;
        return static_cast<IAccPropServices*>(made);
    }();
    return services;
}

} // namespace

void setAccessibleName(HWND control, const std::wstring& name) {
    IAccPropServices* services = service();
    if (!services)
        return;
    services->SetHwndPropStr(control, DWORD(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME,
                             name.c_str());
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    if (::GetComboBoxInfo(control, &combo) && combo.hwndItem && combo.hwndItem != control)
        services->SetHwndPropStr(combo.hwndItem, DWORD(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME,
                                 name.c_str());
}

} // namespace platform::win
