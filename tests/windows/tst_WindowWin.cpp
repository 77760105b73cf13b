// What the program's own windows cannot show of the Win32 front end: a tab strip with more than
// one tab, and a move to a display of another density, pictures included.
#include "tests/windows/TestHarness.h"
#include "tests/windows/WinUiSupport.h"

#include "platform/win/Density.h"
#include "platform/win/WindowHandles.h"

#include <commctrl.h>

#include <algorithm>

using namespace wintest;
using namespace platform;
using enum platform::ControlKind;

namespace {

constexpr TabDesign pages[] = {{"First", "p1", "The first page"}, {"Second", "p2", "The second"}};
constexpr FontDesign bold{"Arial", 12, 700};

constexpr ControlDesign controls[] = {
    {.name = "cmdGo",
     .kind = CommandButton,
     .rect = {300, 120, 1200, 375},
     .text = "Go",
     .font = bold,
     .tabIndex = 1},
    {.name = "tbsPages",
     .kind = TabStrip,
     .rect = {1800, 120, 3000, 2500},
     .tabIndex = 0,
     .tabs = pages},
    {.name = "picHorse",
     .kind = PictureBox,
     .rect = {300, 1000, 750, 750},
     .picture = Picture::Horse,
     .takesFocus = false},
};
enum { cmdGo, tbsPages, picHorse };

constexpr FormDesign form{.name = "frmTest",
                          .caption = "Test",
                          .style = FormStyle::Sizable,
                          .clientWidth = 6000,
                          .clientHeight = 3000,
                          .icon = true,
                          .controls = controls};

struct Fixture {
    RecordingSink sink;
    std::unique_ptr<NativeWindow> window = createNativeWindow(form, sink);
    HWND root = win::rootWindow(*window);
    HWND operator[](int row) const { return win::controlWindow(*window, row); }
    Fixture() {
        window->show();
        pump();
    }
    std::size_t clicks(int row) const {
        return std::size_t(std::count_if(sink.events.begin(), sink.events.end(), [&](auto& e) {
            return e.kind == Event::Click && e.control == row;
        }));
    }
};

int iconWidth(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info))
        return 0;
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return int(bitmap.bmWidth);
}

} // namespace

WINTEST_CASE(aTabStripTellsEveryChangeOfItsTab) {
    Fixture f;
    RECT tab{};
    ::SendMessageW(f[tbsPages], TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
    clickAt(f[tbsPages], POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
    CHECK_EQUAL(f.window->value(tbsPages), 2);
    CHECK_EQUAL(f.clicks(tbsPages), std::size_t(1));
    // The program's choice is told as the user's is; choosing the tab already chosen is not.
    f.window->setValue(tbsPages, 1);
    f.window->setValue(tbsPages, 1);
    CHECK_EQUAL(f.window->value(tbsPages), 1);
    CHECK_EQUAL(f.clicks(tbsPages), std::size_t(2));

    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = reinterpret_cast<HWND>(::SendMessageW(f[tbsPages], TCM_GETTOOLTIPS, 0, 0));
    info.hdr.idFrom = 1;
    info.hdr.code = TTN_GETDISPINFOW;
    ::SendMessageW(f.root, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    CHECK(info.lpszText && std::wstring(info.lpszText) == L"The second");
}

WINTEST_CASE(aDenserDisplayScalesTheTwipsAndTheFonts) {
    Fixture f;
    f.window->setLeft(cmdGo, 600);
    RECT frame{};
    ::GetWindowRect(f.root, &frame);
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    ::SendMessageW(f.root, WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi),
                   reinterpret_cast<LPARAM>(&frame));
    CHECK_EQUAL(f.window->place(cmdGo).left, 600);
    const RECT place = placeInParent(f[cmdGo]);
    CHECK_EQUAL(int(place.left), ::MulDiv(600, 2 * dpi, 1440));
    CHECK_EQUAL(int(place.right - place.left), ::MulDiv(1200, 2 * dpi, 1440));
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(f[cmdGo], WM_GETFONT, 0, 0)), sizeof font,
                 &font);
    CHECK_EQUAL(int(font.lfHeight), -::MulDiv(12, 2 * dpi, 72));

    // The horse (16 pixels at 96 dpi) at the new density: its saddle's last pixel lies beyond
    // the picture drawn at the old one, and its nose ends at the scaled picture's right edge.
    const int side = ::MulDiv(16, 2 * dpi, 96);
    const auto at = [side](double x, double y) {
        return POINT{int(x * side / 16), int(y * side / 16)};
    };
    CHECK_EQUAL(drawnAt(f[picHorse], at(8.5, 6.5)), RGB(0xC8, 0x10, 0x2E));
    CHECK_EQUAL(drawnAt(f[picHorse], POINT{side - 1, at(0, 3.5).y}), RGB(0x8B, 0x45, 0x13));
    CHECK_EQUAL(drawnAt(f[picHorse], POINT{side, at(0, 3.5).y}), ::GetSysColor(COLOR_BTNFACE));
    // The program's icon in the caption, too.
    const auto smallIcon =
        reinterpret_cast<HICON>(::SendMessageW(f.root, WM_GETICON, ICON_SMALL, 0));
    CHECK_EQUAL(iconWidth(smallIcon), 2 * ::GetSystemMetrics(SM_CXSMICON));
}

// A monitor of another density than the system's, as after the scale changed while the user was
// logged on: the window opens at the monitor's density with its whole client area, whatever the
// frame. Where the system has no such calls (Windows 7), the system's density counts.
WINTEST_CASE(aWindowOpensAtItsMonitorsDensity) {
    struct StandIn : win::MonitorDensity {
        int atPoint = 0;
        int ofWindow = 0;
        bool frames = false;
        int framedAt = 0;
        int dpiAt(POINT) override { return atPoint; }
        int dpiOf(HWND) override { return ofWindow; }
        bool frameFor(RECT& client, DWORD style, bool menu, DWORD exStyle, int dpi) override {
            // The system draws the frame, at its own metrics.
            framedAt = dpi;
            return frames && ::AdjustWindowRectEx(&client, style, menu, exStyle);
        }
    };
    const int system = win::Density::ofScreen().dpiX;
    const int other = system * 3 / 2;
    struct Case {
        const char* name;
        int atPoint, ofWindow;
        bool frames;
        int expected;
    };
    // clang-format off
    const Case cases[] = {
        {"monitor and window tell", other, other, true, other},
        {"only the window tells", 0, other, true, other},
        {"window differs from its monitor", system, other, true, other},
        {"only the monitor tells, no frame call", other, 0, false, other},
        {"none tells", 0, 0, false, system},
    };
    // clang-format on
    for (const Case& c : cases) {
        Row row(c.name);
        StandIn standIn;
        standIn.atPoint = c.atPoint;
        standIn.ofWindow = c.ofWindow;
        standIn.frames = c.frames;
        win::MonitorDensity* previous = win::MonitorDensity::install(&standIn);
        for (FormStyle style : {FormStyle::Sizable, FormStyle::FixedDialog}) {
            FormDesign design = form;
            design.style = style;
            RecordingSink sink;
            const std::unique_ptr<NativeWindow> window = createNativeWindow(design, sink);
            RECT client{};
            ::GetClientRect(win::rootWindow(*window), &client);
            CHECK_EQUAL(int(client.right), ::MulDiv(form.clientWidth, c.expected, 1440));
            CHECK_EQUAL(int(client.bottom), ::MulDiv(form.clientHeight, c.expected, 1440));
            CHECK_EQUAL(int(placeInParent(win::controlWindow(*window, cmdGo)).left),
                        ::MulDiv(300, c.expected, 1440));
            if (c.frames)
                CHECK_EQUAL(standIn.framedAt, c.expected);
        }
        win::MonitorDensity::install(previous);
    }
}
