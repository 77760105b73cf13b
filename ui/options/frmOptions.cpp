#include "ui/options/frmOptions.h"

#include "platform/CheckedMath.h"
#include "platform/RuntimeError.h"

#include <cmath>

using namespace platform;
using enum platform::ControlKind;

namespace {

constexpr int panelShownLeft = 210;
constexpr int panelParkedLeft = -20000;

constexpr int keyTab = 9;
constexpr int ctrlMask = 2;

constexpr TabDesign tabs[] = {
    {"PathNames", "Group1", "Set Options for Pathnames"},
};

// In the order of creation: the tab strip comes last and lies beneath the panels. A parked
// panel is disabled, so that neither it nor its contents take the focus.
// One row a control, as the layout reads.
// clang-format off
constexpr ControlDesign controls[] = {
    {.name = "picOptions", .kind = Panel, .index = 3, .rect = {panelParkedLeft, 480, 5685, 3780},
     .tabIndex = 7, .takesFocus = false, .disabled = true},
    {.name = "fraSample4", .kind = Frame, .container = {"picOptions", 3},
     .rect = {2100, 840, 2055, 1785}, .text = "Sample 4", .tabIndex = 10},
    {.name = "picOptions", .kind = Panel, .index = 2, .rect = {panelParkedLeft, 480, 5685, 3780},
     .tabIndex = 6, .takesFocus = false, .disabled = true},
    {.name = "fraSample3", .kind = Frame, .container = {"picOptions", 2},
     .rect = {1545, 675, 2055, 1785}, .text = "Sample 3", .tabIndex = 9},
    {.name = "picOptions", .kind = Panel, .index = 1, .rect = {panelParkedLeft, 480, 5685, 3780},
     .tabIndex = 5, .takesFocus = false, .disabled = true},
    {.name = "fraSample2", .kind = Frame, .container = {"picOptions", 1},
     .rect = {645, 300, 2055, 1785}, .text = "Sample 2", .tabIndex = 8},
    {.name = "picOptions", .kind = Panel, .index = 0, .rect = {panelShownLeft, 480, 5685, 3780},
     .tabIndex = 4, .takesFocus = false},
    {.name = "txtPath", .kind = TextBox, .container = {"picOptions", 0},
     .rect = {240, 2880, 5175, 285}, .text = "c:\\", .tabIndex = 11,
     .accessibleName = "Path to Save results file:", .heading = "lblPath"},
    {.name = "lblPath", .kind = Label, .container = {"picOptions", 0},
     .rect = {240, 2400, 2175, 255}, .text = "Path to Save results file:", .tabIndex = 12},
    {.name = "cmdApply", .kind = CommandButton, .rect = {4920, 4455, 1095, 375}, .text = "Apply",
     .tabIndex = 3},
    {.name = "cmdCancel", .kind = CommandButton, .rect = {3720, 4455, 1095, 375}, .text = "Cancel",
     .tabIndex = 2, .cancelButton = true},
    {.name = "cmdOK", .kind = CommandButton, .rect = {2490, 4455, 1095, 375}, .text = "OK",
     .tabIndex = 1},
    {.name = "tbsOptions", .kind = TabStrip, .rect = {105, 120, 5895, 4245},
     .font = FontDesign{"MS Sans Serif", 8.25}, .tabIndex = 0, .tabs = tabs},
};
// clang-format on

constexpr FormDesign form{
    .name = "frmOptions",
    .caption = "Options",
    .style = FormStyle::FixedDialog,
    .clientWidth = 6150,
    .clientHeight = 4920,
    .keyPreview = true,
    .controls = controls,
};

// Handlers work in 16-bit integers; stepping past their range is an overflow.
int checked16(int value) {
    if (value < -32768 || value > 32767)
        throw RuntimeError::of(RuntimeError::Overflow);
    return value;
}

// The centring is done in single precision, each step checked.
float single(float value) {
    checked::result(value);
    return value;
}

} // namespace

const FormDesign& frmOptions::design() {
    return form;
}

platform::WindowInstance<frmOptions>& frmOptions::instance() {
    static platform::WindowInstance<frmOptions> instance;
    return instance;
}

frmOptions::frmOptions() : Form(form) {}

void frmOptions::dispatch(const Event& event) {
    if (event.kind == Event::Close)
        cmdCancel_Click(); // a close request discards the dialog as Cancel does
    else if (event.kind == Event::KeyDown)
        Form_KeyDown(event.keyCode, event.shift);
    else if (tbsOptions.clicked(event))
        tbsOptions_Click();
    else if (cmdOK.clicked(event))
        cmdOK_Click();
    else if (cmdCancel.clicked(event))
        cmdCancel_Click();
    else if (cmdApply.clicked(event))
        cmdApply_Click();
}

void frmOptions::Form_Load() {
    const TwipsRect screen = window().screen();
    const TwipsRect frame = window().frame();
    const float left = single(single(float(screen.width) - float(frame.width)) / 2.0f);
    const float top = single(single(float(screen.height) - float(frame.height)) / 2.0f);
    window().moveFrame(screen.left + int(std::lround(left)), screen.top + int(std::lround(top)));
}

void frmOptions::tbsOptions_Click() {
    const int count = tbsOptions.tabCount();
    for (int i = 0; i < count; ++i) {
        if (i >= int(picOptions.size()))
            throw RuntimeError(RuntimeError::ControlArrayElementMissing,
                               "Control array element '" + std::to_string(i) + "' doesn't exist");
        Control& panel = picOptions[std::size_t(i)];
        if (i == checked16(tbsOptions.selectedIndex() - 1)) {
            panel.setLeft(panelShownLeft);
            panel.setEnabled(true);
        } else {
            panel.setLeft(panelParkedLeft);
            panel.setEnabled(false);
        }
    }
}

void frmOptions::Form_KeyDown(int keyCode, int shift) {
    if (keyCode != keyTab || shift != ctrlMask)
        return;
    const int selected = tbsOptions.selectedIndex();
    const int count = tbsOptions.tabCount();
    tbsOptions.select(selected == count ? 1 : checked16(selected + 1));
}

void frmOptions::cmdOK_Click() {
    window().hide();
}

void frmOptions::cmdCancel_Click() {
    instance().unload();
}

void frmOptions::cmdApply_Click() {
    window().paintNow();
}
