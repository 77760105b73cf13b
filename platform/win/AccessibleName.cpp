#include "platform/win/AccessibleName.h"

#include <initguid.h>

#include <oleacc.h>

#include <utility>

namespace platform::win {

namespace {

using CoInitializeExFunction = HRESULT(WINAPI*)(void*, DWORD);
using CoUninitializeFunction = void(WINAPI*)();
using CoCreateInstanceFunction = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);

// COM is reached at run time, so that the program imports no library beyond the window system's
// own; without it, no names are given.
struct Com {
    CoInitializeExFunction initialize = nullptr;
    CoUninitializeFunction uninitialize = nullptr;
    CoCreateInstanceFunction create = nullptr;
};

const Com& com() {
    static const Com functions{
        systemCall<CoInitializeExFunction>(L"ole32.dll", "CoInitializeEx"),
        systemCall<CoUninitializeFunction>(L"ole32.dll", "CoUninitialize"),
        systemCall<CoCreateInstanceFunction>(L"ole32.dll", "CoCreateInstance")};
    return functions;
}

// The annotation service, made when the first name is given and released, with COM, when the
// last one goes.
IAccPropServices* services = nullptr;
int users = 0;

IAccPropServices* acquire() {
    if (users > 0) {
        ++users;
        return services;
    }
    const Com& functions = com();
    if (!functions.initialize || !functions.uninitialize || !functions.create ||
        FAILED(functions.initialize(nullptr, COINIT_APARTMENTTHREADED)))
        return nullptr;
    void* made = nullptr;
    if (FAILED(functions.create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, &made))) {
        functions.uninitialize();
        return nullptr;
    }
    services = static_cast<IAccPropServices*>(made);
    users = 1;
    return services;
}

void release() {
    if (--users > 0)
        return;
    std::exchange(services, nullptr)->Release();
    com().uninitialize();
}

} // namespace

AccessibleName::AccessibleName(HWND control, const std::wstring& name) : m_services(acquire()) {
    if (!m_services)
        return;
    m_named.push_back(control);
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    if (::GetComboBoxInfo(control, &combo) && combo.hwndItem && combo.hwndItem != control)
        m_named.push_back(combo.hwndItem);
    for (HWND named : m_named)
        m_services->SetHwndPropStr(named, DWORD(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME,
                                   name.c_str());
}

AccessibleName::~AccessibleName() {
    if (!m_services)
        return;
    MSAAPROPID property = PROPID_ACC_NAME;
    for (HWND named : m_named)
        m_services->ClearHwndProps(named, DWORD(OBJID_CLIENT), CHILDID_SELF, &property, 1);
    release();
}

} // namespace platform::win
