#include "ui/about/frmAbout.h"

#include "platform/FileSearch.h"
#include "platform/MessageBox.h"
#include "platform/ProgramLauncher.h"
#include "platform/Registry.h"
#include "ui/about/SysInfoLauncher.h"

using namespace platform;
using enum platform::ControlKind;

namespace {

constexpr Colour black{0, 0, 0};

// In tab order. OK is both the default and the cancel button; the icon takes no focus, so the
// Tab key goes between the two buttons. The white line comes first, so that the grey one lies
// over it where they meet: grey above white, an etched groove.
// One row a control, as the layout reads.
// clang-format off
constexpr ControlDesign controls[] = {
    {.name = "cmdOK", .kind = CommandButton, .rect = {4245, 2625, 1260, 345}, .text = "OK",
     .tabIndex = 0, .defaultButton = true, .cancelButton = true},
    {.name = "picIcon", .kind = PictureBox, .rect = {240, 240, 300, 300}, .tabIndex = 1,
     .picture = Picture::ProgramIcon, .takesFocus = false, .sunken = true},
    {.name = "cmdSysInfo", .kind = CommandButton, .rect = {4260, 3075, 1245, 345},
     .text = "&System Info...", .tabIndex = 2},
    {.name = "lblDescription", .kind = Label, .rect = {1050, 1125, 3885, 1170},
     .text = "This is Tollick's personal Betting calculator. Very early version. "
             "Vital to check results.",
     .colour = black, .tabIndex = 3},
    {.name = "lblDisclaimer", .kind = Label, .rect = {255, 2625, 3870, 825},
     .text = "Warning: ...Use this program at your own risk. Check all results manually.",
     .colour = black, .tabIndex = 4},
    {.name = "lblTitle", .kind = Label, .rect = {1050, 240, 3885, 480}, .text = "Application Title",
     .font = FontDesign{"MS Sans Serif", 12, 700, true}, .colour = black, .tabIndex = 5},
    {.name = "lblVersion", .kind = Label, .rect = {1050, 780, 3885, 225}, .text = "Version",
     .colour = black, .tabIndex = 6},
    {.name = "Line1", .kind = Line, .index = 0, .from = {105, 2460}, .to = {5654, 2460},
     .lineWidth = 2, .colour = Colour{255, 255, 255}},
    {.name = "Line1", .kind = Line, .index = 1, .from = {90, 2445}, .to = {5654, 2445},
     .lineWidth = 1, .colour = Colour{128, 128, 128}},
};
// clang-format on

constexpr FormDesign form{
    .name = "frmAbout",
    .caption = "About MyApp",
    .style = FormStyle::FixedDialog,
    .clientWidth = 5730,
    .clientHeight = 3555,
    .position = TwipsPoint{2340, 1935},
    .controls = controls,
};

// The launcher's one message goes to the program's message box.
class MessageBoxMessages : public SysInfoMessages {
public:
    void showOk(const std::string& text) override { MessageBox::current().showOk(text); }
};

} // namespace

const FormDesign& frmAbout::design() {
    return form;
}

platform::WindowInstance<frmAbout>& frmAbout::instance() {
    static platform::WindowInstance<frmAbout> instance;
    return instance;
}

frmAbout::frmAbout() : Form(form) {}

void frmAbout::dispatch(const Event& event) {
    if (cmdOK.clicked(event) || event.kind == Event::Close)
        cmdOK_Click();
    else if (cmdSysInfo.clicked(event))
        cmdSysInfo_Click();
}

void frmAbout::Form_Load() {
    window().setCaption(std::string("About ") + appTitle);
    lblVersion.setText(versionLine());
    lblTitle.setText(appTitle);
}

void frmAbout::cmdOK_Click() {
    instance().unload();
}

void frmAbout::cmdSysInfo_Click() {
    MessageBoxMessages messages;
    SysInfoLauncher(Registry::current(), FileSearch::current(), ProgramLauncher::current(),
                    messages)
        .StartSysInfo();
}
