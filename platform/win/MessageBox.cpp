#include "platform/MessageBox.h"

#include "platform/AppInfo.h"
#include "platform/Service.h"
#include "platform/win/WideText.h"
#include "platform/win/WinWindow.h"

#include <vector>

namespace platform {

namespace {

// The program's window the box belongs to: the active one, else the one most recently in front.
// Owned, the box stays above it, and comes back with it from the taskbar.
HWND ownerWindow() {
    if (HWND active = ::GetActiveWindow(); win::WinWindow::fromRoot(active))
        return active;
    for (HWND window = ::GetTopWindow(nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT))
        if (::IsWindowVisible(window) && win::WinWindow::fromRoot(window))
            return window;
    return nullptr;
}

// Modal for the whole program, as a box with no owner and MB_TASKMODAL is: the box disables
// its owner, and the program's other windows are disabled here until the answer.
class ProgramWindowsDisabled {
public:
    explicit ProgramWindowsDisabled(HWND owner) : m_owner(owner) {
        ::EnumThreadWindows(::GetCurrentThreadId(), &disable, reinterpret_cast<LPARAM>(this));
    }
    ~ProgramWindowsDisabled() {
        for (HWND window : m_disabled)
            ::EnableWindow(window, TRUE);
    }
    ProgramWindowsDisabled(const ProgramWindowsDisabled&) = delete;
    ProgramWindowsDisabled& operator=(const ProgramWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK disable(HWND window, LPARAM self) noexcept {
        auto& disabled = *reinterpret_cast<ProgramWindowsDisabled*>(self);
        if (window != disabled.m_owner && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
            try {
                disabled.m_disabled.push_back(window);
            } catch (...) {
                return FALSE;
            }
            ::EnableWindow(window, FALSE);
        }
        return TRUE;
    }

    HWND m_owner;
    std::vector<HWND> m_disabled;
};

class SystemMessageBox : public MessageBox {
public:
    void showOk(const std::string& text) override { ask(text, MB_OK); }
    bool askYesNo(const std::string& text) override {
        return ask(text, MB_YESNO | MB_DEFBUTTON1) == IDYES;
    }

private:
    static int ask(const std::string& text, UINT buttons) {
        HWND owner = ownerWindow();
        if (!owner)
            return ::MessageBoxW(nullptr, win::wide(text).c_str(), win::wide(appTitle).c_str(),
                                 buttons | MB_TASKMODAL | MB_SETFOREGROUND);
        ProgramWindowsDisabled others(owner);
        return ::MessageBoxW(owner, win::wide(text).c_str(), win::wide(appTitle).c_str(),
                             buttons | MB_APPLMODAL | MB_SETFOREGROUND);
    }
};

} // namespace

MessageBox& MessageBox::current() {
    return currentService<MessageBox, SystemMessageBox>();
}

MessageBox* MessageBox::install(MessageBox* box) {
    return installService(box);
}

} // namespace platform
