#include "ui/splash/frmSplash.h"

using namespace platform;
using enum platform::ControlKind;

namespace {

constexpr FontDesign arial{"Arial", 8.25};

// In the order of creation, inside the frame. The platform and version lines grow to the left,
// so that they stay flush with each other; the title and the owner's name grow to the right.
// One row a control, as the layout reads.
// clang-format off
constexpr ControlDesign controls[] = {
    {.name = "Frame1", .kind = Frame, .rect = {150, 60, 7080, 4050}, .tabIndex = 0},
    {.name = "imgLogo", .kind = Image, .container = {"Frame1"}, .rect = {360, 795, 1815, 2385},
     .picture = Picture::ProgramIcon},
    {.name = "lblCopyright", .kind = Label, .container = {"Frame1"},
     .rect = {4560, 3060, 2415, 255}, .text = "Copyright \u00a9 Tollick's", .font = arial,
     .tabIndex = 4},
    {.name = "lblCompany", .kind = Label, .container = {"Frame1"}, .rect = {4560, 3270, 2415, 255},
     .text = "Tollick's Software", .font = arial, .tabIndex = 3},
    {.name = "lblWarning", .kind = Label, .container = {"Frame1"}, .rect = {150, 3660, 6855, 195},
     .text = "Warning: Use this program entirely at your own risk.", .font = arial, .tabIndex = 2},
    {.name = "lblVersion", .kind = Label, .container = {"Frame1"}, .rect = {5970, 2700, 885, 285},
     .text = "Version", .font = FontDesign{"Arial", 12, 700}, .tabIndex = 5, .autoSize = true,
     .alignRight = true},
    {.name = "lblPlatform", .kind = Label, .container = {"Frame1"}, .rect = {5910, 2340, 945, 360},
     .text = "Win32", .font = FontDesign{"Arial", 15.75, 700}, .tabIndex = 6, .autoSize = true,
     .alignRight = true},
    {.name = "lblProductName", .kind = Label, .container = {"Frame1"},
     .rect = {2520, 1140, 3720, 765}, .text = "Quorvex", .font = FontDesign{"Arial", 32.25, 700},
     .tabIndex = 8, .autoSize = true},
    {.name = "lblLicenseTo", .kind = Label, .container = {"Frame1"}, .rect = {120, 240, 6855, 255},
     .text = "Licensed to the owner of this copy", .font = arial, .tabIndex = 1},
    {.name = "lblCompanyProduct", .kind = Label, .container = {"Frame1"},
     .rect = {2355, 705, 1320, 435}, .text = "Tollick's", .font = FontDesign{"Arial", 18, 700},
     .tabIndex = 7, .autoSize = true},
};
// clang-format on

constexpr FormDesign form{
    .name = "frmSplash",
    .caption = "",
    .style = FormStyle::Splash,
    .clientWidth = 7380,
    .clientHeight = 4245,
    .position = TwipsPoint{3180, 3615},
    .icon = true,
    .keyPreview = true,
    .controls = controls,
};

} // namespace

const FormDesign& frmSplash::design() {
    return form;
}

platform::WindowInstance<frmSplash>& frmSplash::instance() {
    static platform::WindowInstance<frmSplash> instance;
    return instance;
}

frmSplash::frmSplash() : Form(form) {}

void frmSplash::dispatch(const Event& event) {
    if (event.kind == Event::KeyPress)
        Form_KeyPress(event.keyCode);
    else if (Frame1.clicked(event) || event.kind == Event::Close)
        Frame1_Click();
}

void frmSplash::Form_Load() {
    lblVersion.setText(versionLine());
    lblProductName.setText(appTitle);
}

void frmSplash::Form_KeyPress(int /*keyAscii*/) {
    instance().unload();
}

void frmSplash::Frame1_Click() {
    instance().unload();
}
