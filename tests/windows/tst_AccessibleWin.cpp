// What a screen reader reads of the windows through Active Accessibility, asked as a reader asks
// (AccessibleObjectFromWindow), after a won bet of 10 at five to two.
#include "tests/support/ServiceDoubles.h"
#include "tests/windows/TestHarness.h"
#include "tests/windows/WinUiSupport.h"

#include "platform/win/WideText.h"
#include "platform/win/WindowHandles.h"
#include "ui/about/frmAbout.h"
#include "ui/main/frmMainfrm.h"
#include "ui/options/frmOptions.h"

#include <oleacc.h>

#include <algorithm>
#include <optional>

using namespace wintest;

namespace {

struct Read {
    std::optional<std::string> name, value, description;
    long role = 0;
    long state = 0;
};

std::optional<std::string> textOf(HRESULT asked, BSTR text) {
    if (asked != S_OK || !text)
        return {};
    std::string out = platform::win::utf8(std::wstring(text, ::SysStringLen(text)));
    ::SysFreeString(text);
    return out;
}

IAccessible* objectOf(HWND window) {
    IAccessible* object = nullptr;
    ::AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object));
    return object;
}

Read read(HWND window) {
    Read out;
    IAccessible* object = objectOf(window);
    CHECK(object != nullptr);
    if (!object)
        return out;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    HRESULT asked = object->get_accName(self, &text);
    out.name = textOf(asked, text);
    text = nullptr;
    asked = object->get_accValue(self, &text);
    out.value = textOf(asked, text);
    text = nullptr;
    asked = object->get_accDescription(self, &text);
    out.description = textOf(asked, text);
    VARIANT number{};
    if (SUCCEEDED(object->get_accRole(self, &number)) && number.vt == VT_I4)
        out.role = number.lVal;
    if (SUCCEEDED(object->get_accState(self, &number)) && number.vt == VT_I4)
        out.state = number.lVal;
    object->Release();
    return out;
}

HWND hwnd(const platform::Control& control) {
    return platform::win::controlWindow(control.form().window(), control.row());
}

// The value changes the windows of this thread raise, by window.
std::vector<HWND> valueChanges;
void CALLBACK onValueChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (object == OBJID_CLIENT)
        valueChanges.push_back(window);
}

struct ComThread {
    ComThread() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComThread() { ::CoUninitialize(); }
};

} // namespace

WINTEST_CASE(screenReadersReadEachControlAndDialog) {
    ComThread com;
    testsupport::QuietProgram program;
    platform::WindowInstanceBase::destroyAll();
    frmMainfrm& main = frmMainfrm::instance().show();
    pump();
    for (auto [field, text] :
         {std::pair{&main.txtStakebet, "10"}, {&main.txtLower, "5"}, {&main.txtUpper, "2"}})
        field->setText(text);
    ::SendMessageW(hwnd(main.cmdCalculate), BM_CLICK, 0, 0);
    pump();
    main.chkOdds.setValue(1);
    frmAbout& about = frmAbout::instance().show();
    frmOptions& options = frmOptions::instance().show();
    pump();

    constexpr long checked = STATE_SYSTEM_CHECKED, alert = STATE_SYSTEM_ALERT_HIGH;
    struct Expected {
        const char* row;
        HWND window;
        long role;
        std::optional<std::string> name;
        std::optional<std::string> value = {};
        std::optional<std::string> description = {};
        long state = 0; // bits that must be set
    };
    const std::optional<std::string> none;
    const Expected table[] = {
        {"left odds", hwnd(main.txtLower), ROLE_SYSTEM_COMBOBOX, "ODDS, left-hand figure", "5"},
        {"right odds", hwnd(main.txtUpper), ROLE_SYSTEM_COMBOBOX, "ODDS, right-hand figure", "2"},
        {"Odds-On", hwnd(main.chkOdds), ROLE_SYSTEM_CHECKBUTTON, "Odds-On", none, none, checked},
        {"Did you win?", hwnd(main.cmbWin), ROLE_SYSTEM_COMBOBOX, "Did you win?", "Yes"},
        {"TOTAL", hwnd(main.txtTotal), ROLE_SYSTEM_TEXT, "TOTAL", " 35"},
        {"Calculate", hwnd(main.cmdCalculate), ROLE_SYSTEM_PUSHBUTTON, "Calculate"},
        {"a heading", hwnd(main.lblTotal), ROLE_SYSTEM_STATICTEXT, "TOTAL"},
        {"the win", hwnd(main.lbl1win), ROLE_SYSTEM_STATICTEXT,
         "YOU WIN! You're as rich as a Duke!", none, "TOTAL 35, GRAND TOTAL: 35", alert},
        {"Options", platform::win::rootWindow(options.window()), ROLE_SYSTEM_DIALOG, "Options"},
        {"About", platform::win::rootWindow(about.window()), ROLE_SYSTEM_DIALOG, "About Quorvex",
         none,
         "Quorvex. Version " QUORVEX_VERSION ". This is Tollick's personal Betting calculator. "
         "Very early version. Vital to check results. Warning: ...Use this program at your own "
         "risk. Check all results manually."},
    };
    for (const Expected& expected : table) {
        Row row(expected.row);
        const Read got = read(expected.window);
        CHECK_EQUAL(got.role, expected.role);
        CHECK(got.name == expected.name);
        if (expected.value)
            CHECK(got.value == expected.value);
        if (expected.description)
            CHECK(got.description == expected.description);
        CHECK_EQUAL(got.state & expected.state, expected.state);
    }

    // Did you win? tells of each change of its choice, the user's and the program's.
    HWINEVENTHOOK hook =
        ::SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                          onValueChange, ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    valueChanges.clear();
    ::SetFocus(hwnd(main.cmbWin));
    pressKey(VK_DOWN);
    main.cmbWin.setText("Yes");
    pump();
    ::UnhookWinEvent(hook);
    CHECK_EQUAL(std::count(valueChanges.begin(), valueChanges.end(), hwnd(main.cmbWin)), 2);

    // An object that a reader keeps past its window answers, and says it is gone.
    IAccessible* kept = objectOf(hwnd(main.txtTotal));
    platform::WindowInstanceBase::destroyAll();
    pump();
    CHECK(kept != nullptr);
    if (kept) {
        VARIANT self{};
        self.vt = VT_I4;
        BSTR name = nullptr;
        CHECK_EQUAL(kept->get_accName(self, &name), CO_E_OBJNOTCONNECTED);
        kept->Release();
    }
}
