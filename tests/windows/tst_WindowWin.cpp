// The Win32 front end on a window of the tests' own: what it builds from a table, and the events
// that the user's input, as the system delivers it, turns into.
#include "tests/windows/TestHarness.h"
#include "tests/windows/WinUiSupport.h"

#include "platform/win/WideText.h"
#include "platform/win/WindowHandles.h"

#include <commctrl.h>

#include <cstdio>
#include <memory>

using namespace wintest;
using namespace platform;
using enum platform::ControlKind;

namespace {

constexpr const char* picks[] = {"One", "Two"};
constexpr TabSpec pages[] = {{"First", "p1", "The first page"}, {"Second", "p2", "The second"}};
constexpr FontSpec bold{"Arial", 12, 700};

enum TestRow {
    lblName,
    txtName,
    cmbPick,
    cmdGo,
    cmdStop,
    fraBox,
    lblInside,
    lblAuto,
    chkFlag,
    picTeam,
    pnlPage,
    txtOnPage,
    tbsPages,
    linBar,
    mnuFile,
    mnuQuit,
};

constexpr ControlSpec controls[] = {
    {.name = "lblName",
     .kind = Label,
     .rect = {120, 120, 1200, 255},
     .text = "Name",
     .font = bold,
     .colour = Colour{255, 0, 0},
     .tabIndex = 3},
    {.name = "txtName",
     .kind = TextBox,
     .rect = {1440, 120, 1500, 315},
     .text = "abc",
     .tabIndex = 0,
     .toolTip = "Type a name",
     .heading = "lblName"},
    {.name = "cmbPick",
     .kind = DropDownList,
     .rect = {1440, 600, 1500, 315},
     .tabIndex = 2,
     .items = picks},
    {.name = "cmdGo",
     .kind = CommandButton,
     .rect = {3200, 120, 1200, 375},
     .text = "&Go",
     .tabIndex = 1,
     .defaultButton = true},
    {.name = "cmdStop",
     .kind = CommandButton,
     .rect = {3200, 600, 1200, 375},
     .text = "Stop",
     .tabIndex = 4,
     .cancelButton = true},
    {.name = "fraBox",
     .kind = Frame,
     .rect = {120, 1200, 3000, 1500},
     .text = "Box",
     .tabIndex = 5},
    {.name = "lblInside",
     .kind = Label,
     .container = {"fraBox"},
     .rect = {240, 480, 1200, 255},
     .text = "Inside",
     .tabIndex = 6},
    {.name = "lblAuto",
     .kind = Label,
     .container = {"fraBox"},
     .rect = {1500, 480, 600, 255},
     .text = "A wider caption",
     .tabIndex = 7,
     .autoSize = true,
     .alignRight = true},
    {.name = "chkFlag", .kind = CheckBox, .rect = {3200, 1200, 400, 315}, .tabIndex = 8},
    {.name = "picTeam",
     .kind = PictureBox,
     .rect = {3200, 1800, 375, 255},
     .tabIndex = 9,
     .picture = Picture::Horse,
     .takesFocus = false},
    {.name = "pnlPage",
     .kind = Panel,
     .rect = {4600, 600, 2800, 1900},
     .tabIndex = 11,
     .takesFocus = false},
    {.name = "txtOnPage",
     .kind = TextBox,
     .container = {"pnlPage"},
     .rect = {100, 100, 1500, 315},
     .tabIndex = 12},
    {.name = "tbsPages",
     .kind = TabStrip,
     .rect = {4500, 120, 3000, 2500},
     .tabIndex = 10,
     .tabs = pages},
    {.name = "linBar",
     .kind = Line,
     .from = {120, 3000},
     .to = {4000, 3000},
     .lineWidth = 3,
     .colour = Colour{0, 0, 255}},
    {.name = "mnuFile", .kind = Menu, .text = "&File"},
    {.name = "mnuQuit", .kind = MenuItem, .container = {"mnuFile"}, .text = "&Quit"},
};

constexpr FormSpec form{
    .name = "frmTest",
    .caption = "Test \u00e9",
    .style = FormStyle::Sizable,
    .clientWidth = 8000,
    .clientHeight = 3600,
    .position = TwipsPoint{600, 900},
    .keyPreview = true,
    .controls = controls,
};

struct Fixture {
    RecordingSink sink;
    std::unique_ptr<NativeWindow> window = createNativeWindow(form, sink);
    HWND root = win::rootWindow(*window);

    Fixture() {
        window->show();
        pump();
        sink.events.clear();
    }
    HWND operator[](int row) const { return win::controlWindow(*window, row); }
    // The clicks reported, by row.
    std::vector<int> clicks() const {
        std::vector<int> rows;
        for (const Event& event : sink.events)
            if (event.kind == Event::Click)
                rows.push_back(event.control);
        return rows;
    }
};

HWND focusedControl(HWND root) {
    // An editable combo box's field is a window of its own inside it.
    HWND focus = ::GetFocus();
    HWND parent = focus ? ::GetParent(focus) : nullptr;
    return parent && parent != root && className(parent) == "ComboBox" ? parent : focus;
}

} // namespace

WINTEST_CASE(windowIsBuiltFromItsTable) {
    Fixture f;
    CHECK_EQUAL(f.window->caption(), std::string(form.caption));
    RECT client{};
    ::GetClientRect(f.root, &client);
    CHECK_EQUAL(int(client.right), pixelsX(form.clientWidth));
    CHECK_EQUAL(int(client.bottom), pixelsY(form.clientHeight));
    POINT origin{0, 0};
    ::ClientToScreen(f.root, &origin);
    CHECK_EQUAL(int(origin.x), pixelsX(form.position->x));
    CHECK_EQUAL(int(origin.y), pixelsY(form.position->y));

    struct Expected {
        int row;
        const char* className;
        const char* text;
    };
    const Expected expected[] = {
        {lblName, "Static", "Name"},       {txtName, "Edit", "abc"},
        {cmbPick, "ComboBox", ""},         {cmdGo, "Button", "&Go"},
        {cmdStop, "Button", "Stop"},       {fraBox, "QuorvexContainer", "Box"},
        {lblInside, "Static", "Inside"},   {chkFlag, "Button", ""},
        {picTeam, "Static", ""},           {pnlPage, "QuorvexContainer", ""},
        {tbsPages, "SysTabControl32", ""},
    };
    for (const Expected& e : expected) {
        Row name(controls[e.row].name);
        HWND control = f[e.row];
        CHECK_EQUAL(className(control), std::string(e.className));
        CHECK_EQUAL(windowText(control), std::string(e.text));
        const RECT place = placeInParent(control);
        const TwipsRect& design = controls[e.row].rect;
        CHECK_EQUAL(int(place.left), pixelsX(design.left));
        CHECK_EQUAL(int(place.top), pixelsY(design.top));
        CHECK_EQUAL(int(place.right - place.left), pixelsX(design.width));
        if (e.className != std::string("ComboBox")) // its field's height is its font's
            CHECK_EQUAL(int(place.bottom - place.top), pixelsY(design.height));
    }
    CHECK(::GetParent(f[lblInside]) == f[fraBox]);
    CHECK(::GetParent(f[txtOnPage]) == f[pnlPage]);
    CHECK(f[linBar] == nullptr);

    // Fonts by face, size and weight; rows without one take the window's.
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(f[lblName], WM_GETFONT, 0, 0)), sizeof font,
                 &font);
    CHECK_EQUAL(win::utf8(font.lfFaceName), std::string("Arial"));
    CHECK_EQUAL(int(font.lfHeight), -pixelsY(12 * 20));
    CHECK_EQUAL(int(font.lfWeight), 700);
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(f[txtName], WM_GETFONT, 0, 0)), sizeof font,
                 &font);
    CHECK_EQUAL(win::utf8(font.lfFaceName), std::string("MS Sans Serif"));
    CHECK_EQUAL(int(font.lfWeight), 400);

    // The list and its choice, which only an item of exactly that text makes.
    CHECK_EQUAL(int(::SendMessageW(f[cmbPick], CB_GETCOUNT, 0, 0)), 2);
    f.window->setText(cmbPick, "Two");
    CHECK_EQUAL(f.window->text(cmbPick), std::string("Two"));
    f.window->setText(cmbPick, "two");
    CHECK_EQUAL(f.window->text(cmbPick), std::string());

    // The menu bar with its access keys.
    HMENU file = ::GetSubMenu(::GetMenu(f.root), 0);
    wchar_t entry[32]{};
    ::GetMenuStringW(file, 0, entry, 32, MF_BYPOSITION);
    CHECK_EQUAL(win::utf8(entry), std::string("&Quit"));
}

WINTEST_CASE(labelsStandJustBeforeTheirFieldsAndTabFollowsTheTabIndex) {
    Fixture f;
    const std::vector<HWND> stacking = children(f.root);
    const std::vector<HWND> expected = {f[lblName],  f[txtName], f[cmdGo],   f[cmbPick],
                                        f[cmdStop],  f[fraBox],  f[chkFlag], f[picTeam],
                                        f[tbsPages], f[pnlPage]};
    CHECK(stacking == expected);

    // The focus starts on the lowest tab index and goes round; arrow keys move nothing.
    const std::vector<int> order = {txtName, cmdGo,    cmbPick,   cmdStop,
                                    chkFlag, tbsPages, txtOnPage, txtName};
    CHECK(focusedControl(f.root) == f[order[0]]);
    for (std::size_t i = 1; i < order.size(); ++i) {
        Row step(controls[order[i]].name);
        pressKey(VK_TAB);
        CHECK(focusedControl(f.root) == f[order[i]]);
    }
    pressKey(VK_TAB, 1);
    CHECK(focusedControl(f.root) == f[txtOnPage]);
    f.window->setFocus(cmdStop);
    pressKey(VK_DOWN);
    CHECK(focusedControl(f.root) == f[cmdStop]);
}

WINTEST_CASE(userInputBecomesEvents) {
    Fixture f;
    ::SendMessageW(f[cmdGo], BM_CLICK, 0, 0);
    ::SendMessageW(f[chkFlag], BM_CLICK, 0, 0);
    CHECK_EQUAL(f.window->value(chkFlag), 1);
    ::SendMessageW(f.root, WM_COMMAND, ::GetMenuItemID(::GetSubMenu(::GetMenu(f.root), 0), 0), 0);
    CHECK(f.clicks() == (std::vector<int>{cmdGo, chkFlag, mnuQuit}));

    // Enter presses the default button, or the push button that has the focus; Esc the cancel
    // button.
    f.sink.events.clear();
    pressKey(VK_RETURN);
    pressKey(VK_ESCAPE);
    f.window->setFocus(cmdStop);
    pressKey(VK_RETURN);
    CHECK(f.clicks() == (std::vector<int>{cmdGo, cmdStop, cmdStop}));

    // A disabled button takes no key.
    f.sink.events.clear();
    f.window->setEnabled(cmdStop, false);
    CHECK(!f.window->isEnabled(cmdStop));
    f.window->setFocus(txtName);
    pressKey(VK_ESCAPE);
    CHECK(f.clicks().empty());

    // The access key of a button.
    pressKey('G', 4);
    CHECK(f.clicks() == std::vector<int>{cmdGo});

    // A click on the frame's bare area counts; one on its label does not.
    f.sink.events.clear();
    const RECT label = placeInParent(f[lblInside]);
    clickAt(f[fraBox], POINT{label.left + 2, label.top + 2});
    clickAt(f[fraBox], POINT{label.left + 2, label.bottom + pixelsY(200)});
    CHECK(f.clicks() == std::vector<int>{fraBox});

    // The user's choice of a tab, and the program's of another one; the same one, nothing.
    f.sink.events.clear();
    RECT tab{};
    ::SendMessageW(f[tbsPages], TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
    clickAt(f[tbsPages], POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
    CHECK_EQUAL(f.window->value(tbsPages), 2);
    f.window->setValue(tbsPages, 1);
    f.window->setValue(tbsPages, 1);
    CHECK_EQUAL(f.window->value(tbsPages), 1);
    CHECK(f.clicks() == (std::vector<int>{tbsPages, tbsPages}));

    // A close request.
    f.sink.events.clear();
    ::SendMessageW(f.root, WM_SYSCOMMAND, SC_CLOSE, 0);
    CHECK(f.sink.events.size() == 1 && f.sink.events[0].kind == Event::Close);
}

WINTEST_CASE(keyPreviewComesBeforeTheFocusedControl) {
    Fixture f;
    ::SetWindowTextW(f[txtName], L"");
    pressKey('A', 1);
    CHECK(f.sink.events.size() >= 2);
    if (f.sink.events.size() >= 2) {
        CHECK_EQUAL(int(f.sink.events[0].kind), int(Event::KeyDown));
        CHECK_EQUAL(f.sink.events[0].keyCode, int('A'));
        CHECK_EQUAL(f.sink.events[0].shift, 1);
        CHECK_EQUAL(int(f.sink.events.back().kind), int(Event::KeyPress));
        CHECK_EQUAL(f.sink.events.back().keyCode, int('A'));
    }
    // The character still reaches the field.
    CHECK_EQUAL(f.window->text(txtName), std::string("A"));

    // Ctrl+Tab is told and moves no focus; Ctrl+Shift+Tab is told with its shift state.
    f.sink.events.clear();
    pressKey(VK_TAB, 2);
    pressKey(VK_TAB, 3);
    CHECK(focusedControl(f.root) == f[txtName]);
    CHECK(f.sink.events.size() == 2 && f.sink.events[0].kind == Event::KeyDown &&
          f.sink.events[0].keyCode == VK_TAB && f.sink.events[0].shift == 2 &&
          f.sink.events[1].shift == 3);

    // A handler that takes the window down takes the key with it.
    f.sink.onEvent = [&](const Event&) { f.window.reset(); };
    pressKey('B');
    CHECK(!::IsWindow(f.root));
}

WINTEST_CASE(aWindowTakenDownInItsOwnClickGoesQuietly) {
    Fixture f;
    f.sink.onEvent = [&](const Event&) { f.window.reset(); };
    ::SendMessageW(f[cmdGo], BM_CLICK, 0, 0);
    CHECK(!::IsWindow(f.root));
    CHECK_EQUAL(f.sink.events.size(), std::size_t(1));
}

WINTEST_CASE(labelsPicturesAndLinesAreDrawnAsDesigned) {
    Fixture f;
    // An auto-sized label takes its caption's extent and, aligned right, keeps its right edge.
    const TwipsRect before = f.window->place(lblAuto);
    const TwipsRect& design = controls[lblAuto].rect;
    CHECK(before.width > design.width);
    CHECK_EQUAL(before.left + before.width, design.left + design.width);
    f.window->setText(lblAuto, "Short");
    const TwipsRect after = f.window->place(lblAuto);
    CHECK(after.width < before.width);
    CHECK_EQUAL(after.left + after.width, design.left + design.width);
    CHECK_EQUAL(int(placeInParent(f[lblAuto]).left), pixelsX(after.left));

    // The label's own text colour.
    HDC dc = ::GetDC(f[lblName]);
    ::SendMessageW(f.root, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(f[lblName]));
    CHECK_EQUAL(::GetTextColor(dc), RGB(255, 0, 0));
    ::ReleaseDC(f[lblName], dc);

    // The line, at its width and colour, beneath the controls.
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    RECT client{};
    ::GetClientRect(f.root, &client);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::FillRect(memory, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SendMessageW(f.root, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    const int y = pixelsY(controls[linBar].from.y);
    const int x = pixelsX(2000);
    CHECK_EQUAL(::GetPixel(memory, x, y), RGB(0, 0, 255));
    CHECK_EQUAL(::GetPixel(memory, x, y + 1), RGB(0, 0, 255));
    CHECK_EQUAL(::GetPixel(memory, x, y + 3), RGB(255, 255, 255));
    f.window->setVisible(linBar, false);
    ::FillRect(memory, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SendMessageW(f.root, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    CHECK(::GetPixel(memory, x, y) != RGB(0, 0, 255));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);

    // Tool tips, the field's and the tab's.
    HWND tips = nullptr;
    for (HWND w = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); w;
         w = ::FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr))
        if (::GetWindow(w, GW_OWNER) == f.root && ::SendMessageW(w, TTM_GETTOOLCOUNT, 0, 0) == 1)
            tips = w;
    CHECK(tips != nullptr);
    wchar_t text[64]{};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = f.root;
    tool.uId = reinterpret_cast<UINT_PTR>(f[txtName]);
    tool.lpszText = text;
    ::SendMessageW(tips, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    CHECK_EQUAL(win::utf8(text), std::string("Type a name"));
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = reinterpret_cast<HWND>(::SendMessageW(f[tbsPages], TCM_GETTOOLTIPS, 0, 0));
    info.hdr.idFrom = 1;
    info.hdr.code = TTN_GETDISPINFOW;
    ::SendMessageW(f.root, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    CHECK(info.lpszText && win::utf8(info.lpszText) == "The second");

    // Visibility is each control's own, whether or not the window is shown.
    f.window->hide();
    CHECK(!f.window->isVisible());
    CHECK(f.window->isVisible(lblName));
    f.window->setVisible(lblName, false);
    CHECK(!f.window->isVisible(lblName));
}

WINTEST_CASE(movingKeepsTwipsAndADenserDisplayScalesThem) {
    Fixture f;
    f.window->setLeft(picTeam, 4000);
    CHECK_EQUAL(f.window->place(picTeam).left, 4000);
    CHECK_EQUAL(int(placeInParent(f[picTeam]).left), pixelsX(4000));
    f.window->moveFrame(1500, 1200);
    CHECK_EQUAL(f.window->frame().left, 1500);
    CHECK_EQUAL(f.window->frame().top, 1200);

    RECT frame{};
    ::GetWindowRect(f.root, &frame);
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    ::SendMessageW(f.root, WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi),
                   reinterpret_cast<LPARAM>(&frame));
    CHECK_EQUAL(int(placeInParent(f[cmdGo]).left),
                ::MulDiv(controls[cmdGo].rect.left, 2 * dpi, 1440));
    CHECK_EQUAL(int(placeInParent(f[picTeam]).left), ::MulDiv(4000, 2 * dpi, 1440));
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(f[lblName], WM_GETFONT, 0, 0)), sizeof font,
                 &font);
    CHECK_EQUAL(int(font.lfHeight), -2 * pixelsY(12 * 20));
}
