// The program's four windows on the Win32 front end, driven by the messages that a user's
// clicks, keys and typing make, with the message boxes answered by a double.
#include "tests/support/ServiceDoubles.h"
#include "tests/windows/TestHarness.h"
#include "tests/windows/WinUiSupport.h"

#include "app/Startup.h"
#include "platform/Files.h"
#include "platform/FormRules.h"
#include "platform/MessageBox.h"
#include "platform/Pause.h"
#include "platform/ProgramFolder.h"
#include "platform/Registry.h"
#include "platform/win/WideText.h"
#include "platform/win/WindowHandles.h"
#include "ui/about/frmAbout.h"
#include "ui/main/frmMainfrm.h"
#include "ui/options/frmOptions.h"
#include "ui/splash/frmSplash.h"

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

using namespace wintest;
using platform::ControlKind;
using platform::Form;

namespace {

HWND hwnd(const platform::Control& control) {
    return platform::win::controlWindow(control.form().window(), control.row());
}

HWND root(const Form& form) {
    return platform::win::rootWindow(form.window());
}

// Each test starts with no window loaded and leaves none behind.
struct FreshWindows {
    testsupport::QuietProgram program;
    testsupport::FakeMessageBox boxes;
    FreshWindows() { platform::WindowInstanceBase::destroyAll(); }
    ~FreshWindows() {
        platform::WindowInstanceBase::destroyAll();
        pump();
    }
};

// A menu entry chosen as the menu does it: its command posted to the window.
void chooseMenu(const Form& form, const char* entry) {
    HMENU bar = ::GetMenu(root(form));
    for (int menu = 0; menu < ::GetMenuItemCount(bar); ++menu) {
        HMENU popup = ::GetSubMenu(bar, menu);
        for (int item = 0; item < ::GetMenuItemCount(popup); ++item) {
            wchar_t text[64]{};
            ::GetMenuStringW(popup, UINT(item), text, 64, MF_BYPOSITION);
            if (platform::win::utf8(text) == entry) {
                ::PostMessageW(root(form), WM_COMMAND, ::GetMenuItemID(popup, item), 0);
                pump();
                return;
            }
        }
    }
    CHECK(!"no such menu entry");
}

// A field clicked into, its text selected and typed over.
void typeInto(const platform::Control& field, const std::wstring& text) {
    ::SetFocus(hwnd(field));
    ::SendMessageW(::GetFocus(), EM_SETSEL, 0, -1);
    typeText(text);
}

void click(const platform::Control& button) {
    ::SendMessageW(hwnd(button), BM_CLICK, 0, 0);
    pump();
}

// The class of window each kind of control is made of, "" for those that make none. No default:
// a new kind is a warning here (-Wswitch) and, built anyway, a failure that names it.
std::string classOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
    case ControlKind::PictureBox:
    case ControlKind::Image:
        return "Static";
    case ControlKind::TextBox:
        return "Edit";
    case ControlKind::ComboBox:
    case ControlKind::DropDownList:
        return "ComboBox";
    case ControlKind::CheckBox:
    case ControlKind::CommandButton:
        return "Button";
    case ControlKind::Frame:
    case ControlKind::Panel:
        return "QuorvexContainer";
    case ControlKind::TabStrip:
        return "SysTabControl32";
    case ControlKind::Line:
    case ControlKind::Menu:
    case ControlKind::MenuItem:
        return "";
    }
    const std::string unknown = "ControlKind " + std::to_string(int(kind));
    wintest::fail(__FILE__, __LINE__, "classOf() does not know " + unknown);
    return "(" + unknown + ")";
}

// The control that has the focus, a combo box for its edit field.
HWND focused() {
    HWND focus = ::GetFocus();
    HWND parent = focus ? ::GetParent(focus) : nullptr;
    return parent && className(parent) == "ComboBox" ? parent : focus;
}

std::string fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A folder of the test's own under the temporary folder, removed with its results file.
struct ScratchFolder {
    std::string path;
    ScratchFolder() {
        wchar_t temporary[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temporary);
        path = platform::win::utf8(temporary) + "Quorvex Forms Test";
        ::CreateDirectoryW(platform::win::wide(path).c_str(), nullptr);
    }
    ~ScratchFolder() {
        ::DeleteFileW(platform::win::wide(results()).c_str());
        ::RemoveDirectoryW(platform::win::wide(path).c_str());
    }
    std::string results() const { return path + "\\quorvexresults.txt"; }
};

// The tool tip the window shows for one of its controls.
std::string toolTipOf(HWND form, HWND control) {
    for (HWND tips = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tips;
         tips = ::FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr)) {
        wchar_t text[80]{};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = form;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = text;
        if (::GetWindow(tips, GW_OWNER) == form)
            ::SendMessageW(tips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
        if (*text)
            return platform::win::utf8(text);
    }
    return {};
}

// Checks the window's layout, and every control against the window's table: its class, text
// and font, its colour, tool tip and heading; then the Tab order. The load step changes some
// texts: loaded gives them, and nullptr for a text that depends on more than the window.
void checkBuiltFromDesign(const Form& form, std::map<std::string, const char*> loaded = {}) {
    checkLayout(form);
    const platform::FormDesign& design = form.design();
    for (std::size_t i = 0; i < design.controls.size(); ++i) {
        const platform::ControlDesign& control = design.controls[i];
        Row row(std::string(design.name) + "." + control.name +
                (control.index >= 0 ? std::to_string(control.index) : ""));
        HWND window = platform::win::controlWindow(form.window(), int(i));
        const std::string windowClass = classOf(control.kind);
        if (windowClass.empty()) {
            CHECK(window == nullptr);
            continue;
        }
        CHECK_EQUAL(className(window), windowClass);
        const auto text = loaded.find(control.name);
        if (text == loaded.end())
            CHECK_EQUAL(windowText(window), std::string(control.text));
        else if (text->second)
            CHECK_EQUAL(windowText(window), std::string(text->second));
        LOGFONTW font{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font,
                     &font);
        const platform::FontDesign expected = control.font.value_or(design.font);
        CHECK_EQUAL(platform::win::utf8(font.lfFaceName), std::string(expected.face));
        CHECK_EQUAL(int(font.lfWeight), expected.weight);
        CHECK_EQUAL(-int(font.lfHeight), pixelsY(int(expected.points * 20 + 0.5)));
        CHECK_EQUAL(bool(font.lfItalic), expected.italic);
        CHECK_EQUAL(bool(font.lfUnderline), expected.underline);

        if (control.colour && control.kind == ControlKind::Label) {
            HDC dc = ::GetDC(window);
            ::SendMessageW(::GetParent(window), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(window));
            CHECK_EQUAL(::GetTextColor(dc),
                        RGB(control.colour->red, control.colour->green, control.colour->blue));
            ::ReleaseDC(window, dc);
        }
        if (control.toolTip)
            CHECK_EQUAL(toolTipOf(root(form), window), std::string(control.toolTip));
        // Just after its heading, or after the field before it that has the same heading, so
        // that the system names the field after the label.
        if (control.heading) {
            HWND before = ::GetWindow(window, GW_HWNDPREV);
            const bool sameHeading =
                std::any_of(design.controls.begin(), design.controls.end(), [&](const auto& other) {
                    return other.heading && std::string(other.heading) == control.heading &&
                           platform::win::controlWindow(
                               form.window(), form.row(other.name, other.index)) == before;
                });
            CHECK(sameHeading ||
                  before == platform::win::controlWindow(form.window(),
                                                         platform::headingRow(design, int(i))));
        }
    }

    // The Tab key goes round the enabled controls of the window's Tab order, which the system
    // derives from the stacking of the controls in their containers.
    std::vector<int> order = platform::tabOrder(design);
    std::erase_if(order, [&](int control) { return !platform::startsEnabled(design, control); });
    for (std::size_t step = 0; step <= order.size() && !order.empty(); ++step) {
        const int expected = order[step % order.size()];
        Row row(std::string(design.name) + " Tab " + std::to_string(step) + " " +
                design.controls[std::size_t(expected)].name);
        CHECK(focused() == platform::win::controlWindow(form.window(), expected));
        pressKey(VK_TAB);
    }
}

} // namespace

WINTEST_CASE(eachWindowIsBuiltFromItsDesign) {
    FreshWindows fresh;
    frmMainfrm& main = frmMainfrm::instance().show();
    pump();
    checkBuiltFromDesign(main, {{"cmbWin", "Yes"}, {"txtPrevious", nullptr}});
    CHECK(!main.lbl1win.isVisible() && !main.lblLose.isVisible());
    // The fraction bar, black and five pixels wide, between the two odds figures.
    const platform::ControlDesign& bar = main.design().controls[std::size_t(main.Line1.row())];
    const POINT middle{pixelsX((bar.from.x + bar.to.x) / 2), pixelsY((bar.from.y + bar.to.y) / 2)};
    CHECK_EQUAL(drawnAt(root(main), middle), RGB(0, 0, 0));
    CHECK_EQUAL(drawnAt(root(main), POINT{middle.x + 2, middle.y}), RGB(0, 0, 0));
    CHECK(drawnAt(root(main), POINT{middle.x + 6, middle.y}) != RGB(0, 0, 0));

    frmOptions& options = frmOptions::instance().show();
    pump();
    checkBuiltFromDesign(options);
    CHECK(!(::GetWindowLongW(root(options), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX)));
    // The parked panels lie outside the window, disabled.
    CHECK(placeInParent(hwnd(options.picOptions[1])).right < 0);
    CHECK(!::IsWindowEnabled(hwnd(options.picOptions[1])));

    frmAbout& about = frmAbout::instance().show();
    pump();
    checkBuiltFromDesign(about,
                         {{"lblTitle", "Quorvex"}, {"lblVersion", "Version " QUORVEX_VERSION}});
    CHECK_EQUAL(windowText(root(about)), std::string("About Quorvex"));

    frmSplash& splash = frmSplash::instance().show();
    pump();
    checkBuiltFromDesign(
        splash, {{"lblVersion", "Version " QUORVEX_VERSION}, {"lblProductName", "Quorvex"}});
    const LONG style = ::GetWindowLongW(root(splash), GWL_STYLE);
    CHECK((style & WS_CAPTION) != WS_CAPTION && (style & WS_DLGFRAME) && !(style & WS_SYSMENU));
    // The version line grew leftwards, flush with the platform line.
    const platform::TwipsRect version = splash.lblVersion.place();
    const platform::ControlDesign& designed =
        splash.design().controls[std::size_t(splash.lblVersion.row())];
    CHECK_EQUAL(version.left + version.width, designed.rect.left + designed.rect.width);
}

WINTEST_CASE(calculateSettlesWonAndLostBetsAndReportsErrors) {
    FreshWindows fresh;
    frmMainfrm& main = frmMainfrm::instance().show();
    pump();
    typeInto(main.txtStakebet, L"10");
    typeInto(main.txtLower, L"5");
    typeInto(main.txtUpper, L"2");
    // Enter on the focused Calculate button.
    ::SetFocus(hwnd(main.cmdCalculate));
    pressKey(VK_RETURN);
    CHECK_EQUAL(main.txtWinnings.text(), std::string("25.00"));
    CHECK_EQUAL(main.txtOrigstake.text(), std::string("10"));
    CHECK_EQUAL(main.txtGrandtot.text(), std::string(" 35"));
    CHECK_EQUAL(main.txtRunning.text(), std::string(" 35"));
    CHECK(main.lbl1win.isVisible() && !main.lblLose.isVisible());
    // The horse ran its whole way, and its window with it.
    CHECK_EQUAL(int(placeInParent(hwnd(main.picHorse)).left), pixelsX(480 + 151 * 50));
    CHECK_EQUAL(fresh.program.waits, 151);

    // Lost: the choice made with the keyboard in the list.
    ::SetFocus(hwnd(main.cmbWin));
    pressKey(VK_DOWN);
    CHECK_EQUAL(main.cmbWin.text(), std::string("No"));
    click(main.cmdCalculate);
    CHECK_EQUAL(main.txtTotal.text(), std::string("-10"));
    CHECK_EQUAL(main.txtGrandtot.text(), std::string(" 25"));
    CHECK(!main.lbl1win.isVisible() && main.lblLose.isVisible());

    // A zero divisor: the run-time error's message, and the program goes on.
    ::SetFocus(hwnd(main.cmbWin));
    pressKey(VK_UP);
    typeInto(main.txtUpper, L"0");
    click(main.cmdCalculate);
    CHECK(fresh.boxes.okTexts.size() == 1 &&
          fresh.boxes.okTexts[0].find("Division by zero") != std::string::npos);
    CHECK_EQUAL(main.txtGrandtot.text(), std::string(" 25"));
    CHECK(frmMainfrm::instance().isVisible());
}

// Stake 10 at 1 to 1, won: a press of Calculate while the race runs, queued as the system
// queues input, settles nothing; the button works again once the race is over.
WINTEST_CASE(aPressDuringTheRaceSettlesNothing) {
    struct QueuedDuringRace : platform::Waiter {
        HWND button = nullptr;
        bool byKey = false;
        int waits = 0;
        void waitUntil(platform::Deadline) override {
            if (waits++ > 0)
                return;
            if (byKey) {
                ::PostMessageW(button, WM_KEYDOWN, VK_SPACE, 1);
                ::PostMessageW(button, WM_KEYUP, VK_SPACE, 1 | (LPARAM(3) << 30));
            } else {
                ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
                ::PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
            }
        }
    };
    for (bool byKey : {false, true}) {
        Row row(byKey ? "Space" : "click");
        FreshWindows fresh;
        frmMainfrm& main = frmMainfrm::instance().show();
        pump();
        typeInto(main.txtStakebet, L"10");
        ::SetFocus(hwnd(main.cmdCalculate));
        QueuedDuringRace race;
        race.button = hwnd(main.cmdCalculate);
        race.byKey = byKey;
        {
            testsupport::Installed<platform::Waiter> installed{race};
            click(main.cmdCalculate);
        }
        CHECK_EQUAL(race.waits, 151);
        CHECK_EQUAL(main.txtGrandtot.text(), std::string(" 20"));
        click(main.cmdCalculate);
        CHECK_EQUAL(main.txtGrandtot.text(), std::string(" 40"));
    }
}

// A message box belongs to the program's window that was active when it was asked for, and
// keeps the program's other windows waiting until it is answered.
WINTEST_CASE(aMessageBoxIsOwnedByTheActiveWindow) {
    struct Seen {
        HWND owner = nullptr;
        bool othersEnabled = true;
        HWND other = nullptr;
    };
    static Seen seen;
    struct Hook {
        static LRESULT CALLBACK onActivate(int code, WPARAM wParam, LPARAM lParam) noexcept {
            if (code == HCBT_ACTIVATE && className(HWND(wParam)) == "#32770") {
                seen.owner = ::GetWindow(HWND(wParam), GW_OWNER);
                seen.othersEnabled = ::IsWindowEnabled(seen.other) != FALSE;
                ::PostMessageW(HWND(wParam), WM_COMMAND, IDOK, 0);
            }
            return ::CallNextHookEx(nullptr, code, wParam, lParam);
        }
    };
    testsupport::QuietProgram program;
    platform::WindowInstanceBase::destroyAll();
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, &Hook::onActivate, nullptr, ::GetCurrentThreadId());
    HWND main = root(frmMainfrm::instance().show());
    HWND about = root(frmAbout::instance().show());
    pump();
    for (HWND active : {about, main}) {
        Row row(active == main ? "main window" : "About box");
        seen = Seen{};
        seen.other = active == main ? about : main;
        ::SetActiveWindow(active);
        platform::MessageBox::current().showOk("Data saved to file!");
        CHECK(seen.owner == active);
        CHECK(!seen.othersEnabled);
        CHECK(::IsWindowEnabled(main) && ::IsWindowEnabled(about));
    }
    ::UnhookWindowsHookEx(hook);
    platform::WindowInstanceBase::destroyAll();
    pump();
}

WINTEST_CASE(saveWritesTheFileOrReportsAMissingFolder) {
    FreshWindows fresh;
    ScratchFolder folder;
    frmMainfrm& main = frmMainfrm::instance().show();
    pump();
    chooseMenu(main, "&Paths");
    frmOptions* options = frmOptions::instance().loaded();
    CHECK(options && frmOptions::instance().isVisible());
    if (!options)
        return;
    typeInto(options->txtPath, platform::win::wide(folder.path));
    typeInto(main.txtRunning, L" 35");
    // Saved while the dialog is still open: the folder is in force as typed.
    click(main.cmdSaveresults);
    CHECK_EQUAL(fileBytes(folder.results()), std::string("\" 35\"\r\n"));
    CHECK(fresh.boxes.okTexts == std::vector<std::string>{"Data saved to file!"});

    // A folder that is not there: the message, the old file and the totals kept.
    typeInto(options->txtPath, platform::win::wide(folder.path + "\\missing"));
    typeInto(main.txtRunning, L" 40");
    click(main.cmdSaveresults);
    CHECK_EQUAL(fresh.boxes.okTexts.size(), std::size_t(2));
    CHECK(fresh.boxes.okTexts.back().find("Path not found") != std::string::npos);
    CHECK_EQUAL(fileBytes(folder.results()), std::string("\" 35\"\r\n"));
    CHECK_EQUAL(main.txtRunning.text(), std::string(" 40"));

    // The next start reads the saved total back as the previous one.
    typeInto(options->txtPath, platform::win::wide(folder.path));
    frmMainfrm::instance().unload();
    CHECK_EQUAL(frmMainfrm::instance().show().txtPrevious.text(), std::string(" 35"));
}

WINTEST_CASE(saveIntoAFolderTypedBeyond260Characters) {
    FreshWindows fresh;
    ScratchFolder scratch;
    // Nested folders to a results path of 300 characters, made in the form without a limit.
    std::string folder = scratch.path;
    std::vector<std::string> made;
    for (char part = 'a'; folder.size() + 100 < 300 - 19; ++part) {
        made.push_back(folder.append("\\").append(99, part));
        CHECK(::CreateDirectoryW((L"\\\\?\\" + platform::win::wide(folder)).c_str(), nullptr));
    }
    // The last folder takes what is left of 300, less its separator and "\quorvexresults.txt".
    const std::size_t last = 300 - folder.size() - 1 - 19;
    made.push_back(folder.append("\\").append(last, 'z'));
    CHECK(::CreateDirectoryW((L"\\\\?\\" + platform::win::wide(folder)).c_str(), nullptr));
    const std::string results = folder + "\\quorvexresults.txt";
    CHECK_EQUAL(results.size(), std::size_t(300));

    frmMainfrm& main = frmMainfrm::instance().show();
    pump();
    chooseMenu(main, "&Paths");
    frmOptions& options = frmOptions::instance().load();
    typeInto(options.txtPath, platform::win::wide(folder));
    CHECK_EQUAL(options.txtPath.text(), folder);
    typeInto(main.txtRunning, L" 35");
    const auto figures = [&] {
        return std::vector<std::string>{main.txtPrevious.text(), main.txtGrandtot.text(),
                                        main.txtRunning.text()};
    };
    const std::vector<std::string> before = figures();
    click(main.cmdSaveresults);
    CHECK(fresh.boxes.okTexts == std::vector<std::string>{"Data saved to file!"});
    CHECK_EQUAL(platform::readFileStart(results, 100), std::string("\" 35\"\r\n"));
    CHECK(figures() == before);
    // The next start reads it back.
    frmMainfrm::instance().unload();
    CHECK_EQUAL(frmMainfrm::instance().show().txtPrevious.text(), std::string(" 35"));

    ::DeleteFileW((L"\\\\?\\" + platform::win::wide(results)).c_str());
    for (auto at = made.rbegin(); at != made.rend(); ++at)
        ::RemoveDirectoryW((L"\\\\?\\" + platform::win::wide(*at)).c_str());
}

WINTEST_CASE(resetAsksFirst) {
    FreshWindows fresh;
    frmMainfrm& main = frmMainfrm::instance().show();
    pump();
    typeInto(main.txtGrandtot, L"12");
    fresh.boxes.answers = {false, true};
    click(main.cmdReset);
    CHECK_EQUAL(main.txtGrandtot.text(), std::string("12"));
    click(main.cmdReset);
    CHECK_EQUAL(main.txtGrandtot.text(), std::string("0.00"));
    CHECK(fresh.boxes.questions.size() == 2 &&
          fresh.boxes.questions[0] == "Are you sure you want to completely reset your figures?");
}

WINTEST_CASE(optionsKeepsOrDiscardsTheFolder) {
    FreshWindows fresh;
    frmMainfrm& main = frmMainfrm::instance().show();
    pump();
    chooseMenu(main, "&Paths");
    frmOptions* options = frmOptions::instance().loaded();
    CHECK(options != nullptr);
    if (!options)
        return;
    CHECK(focused() == hwnd(options->tbsOptions));
    typeInto(options->txtPath, L"d:\\bets");

    // Apply and Ctrl+Tab with its one tab change nothing; OK hides, keeping the folder.
    click(options->cmdApply);
    ::SetFocus(hwnd(options->txtPath));
    pressKey(VK_TAB, 2);
    CHECK(focused() == hwnd(options->txtPath));
    CHECK_EQUAL(options->tbsOptions.selectedIndex(), 1);
    click(options->cmdOK);
    CHECK(frmOptions::instance().isLoaded() && !frmOptions::instance().isVisible());
    chooseMenu(main, "&Paths");
    chooseMenu(main, "&Paths");
    CHECK(frmOptions::instance().loaded() == options);
    CHECK_EQUAL(options->txtPath.text(), std::string("d:\\bets"));

    // Esc is Cancel: the dialog goes, and with it the folder.
    ::SetFocus(hwnd(options->txtPath));
    pressKey(VK_ESCAPE);
    CHECK(!frmOptions::instance().isLoaded());
    chooseMenu(main, "&Paths");
    CHECK_EQUAL(frmOptions::instance().load().txtPath.text(), std::string("c:\\"));

    // Closing it by its frame is Cancel too.
    ::SendMessageW(root(frmOptions::instance().load()), WM_SYSCOMMAND, SC_CLOSE, 0);
    pump();
    CHECK(!frmOptions::instance().isLoaded());
}

WINTEST_CASE(aboutBoxOpensOnceAndClosesByItsKeys) {
    FreshWindows fresh;
    testsupport::EmptyRegistry empty;
    testsupport::RecordingRegistry registry{empty};
    testsupport::Installed<platform::Registry> installed{registry};
    frmMainfrm& main = frmMainfrm::instance().show();
    pump();
    chooseMenu(main, "&About Quorvex");
    frmAbout* about = frmAbout::instance().loaded();
    chooseMenu(main, "&About Quorvex");
    CHECK(about && frmAbout::instance().loaded() == about);
    if (!about)
        return;
    // Alt+S runs the launcher, which finds no tool; the box stays.
    pressKey('S', 4);
    CHECK(fresh.boxes.okTexts ==
          std::vector<std::string>{"System Information Is Unavailable At This Time"});
    CHECK_EQUAL(registry.opens.size(), std::size_t(2));
    CHECK(frmAbout::instance().isVisible());

    for (WPARAM key : {WPARAM(VK_RETURN), WPARAM(VK_ESCAPE)}) {
        Row row(key == VK_RETURN ? "Enter" : "Esc");
        frmAbout& box = frmAbout::instance().show();
        pump();
        ::SetFocus(hwnd(box.cmdOK));
        pressKey(key);
        CHECK(!frmAbout::instance().isLoaded());
    }
    // Enter on System Info runs it instead.
    frmAbout& box = frmAbout::instance().show();
    pump();
    pressKey(VK_TAB);
    CHECK(focused() == hwnd(box.cmdSysInfo));
    pressKey(VK_RETURN);
    CHECK_EQUAL(fresh.boxes.okTexts.size(), std::size_t(2));
    CHECK(frmAbout::instance().isLoaded());
}

WINTEST_CASE(exitAndTheCloseButtonEndTheProgram) {
    FreshWindows fresh;
    frmMainfrm& main = frmMainfrm::instance().show();
    frmAbout::instance().show();
    pump();
    chooseMenu(main, "E&xit");
    CHECK_EQUAL(fresh.program.ends, 1);
    CHECK(!frmMainfrm::instance().isLoaded());

    HWND window = root(frmMainfrm::instance().show());
    pump();
    ::SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    pump();
    CHECK_EQUAL(fresh.program.ends, 2);
    CHECK(!::IsWindow(window));
}

WINTEST_CASE(startUpShowsTheSplashThenTheMainWindow) {
    FreshWindows fresh;
    // Not beside the test programs, which the other suites share.
    ScratchFolder scratch;
    testsupport::ProgramFolderAt folder(scratch.path);
    Module1::Start();
    pump();
    CHECK(!frmSplash::instance().isLoaded());
    CHECK(frmMainfrm::instance().isVisible());
    CHECK(frmOptions::instance().isLoaded() && !frmOptions::instance().isVisible());
    CHECK_EQUAL(frmOptions::instance().load().txtPath.text(), platform::programFolder());
    CHECK_EQUAL(fresh.program.waits, 1);

    // The splash goes at a character key, not at an arrow key; at a click on its frame's bare
    // area, not on a label or the picture.
    frmSplash::instance().show();
    pump();
    pressKey(VK_RIGHT);
    CHECK(frmSplash::instance().isLoaded());
    pressKey('Q');
    CHECK(!frmSplash::instance().isLoaded());

    frmSplash& again = frmSplash::instance().show();
    pump();
    for (const platform::Control* control : {&again.lblWarning, &again.imgLogo}) {
        const RECT place = placeInParent(hwnd(*control));
        clickAt(hwnd(again.Frame1), POINT{place.left + 3, place.top + 3});
        CHECK(frmSplash::instance().isLoaded());
    }
    clickAt(hwnd(again.Frame1), POINT{pixelsX(100), pixelsY(600)});
    CHECK(!frmSplash::instance().isLoaded());
}
