#include "ui/main/frmMainfrm.h"

#include "calc/NumberText.h"
#include "calc/Settlement.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "platform/ProgramEnd.h"
#include "results/ResultsFile.h"
#include "ui/about/frmAbout.h"
#include "ui/main/Module1.h"
#include "ui/options/frmOptions.h"

#include <chrono>

using namespace std::chrono_literals;
using namespace platform;
using enum platform::ControlKind;

namespace {

// The whole run of the horse, whatever the machine.
constexpr auto raceDuration = 750ms;

constexpr FontDesign heading{"MS Sans Serif", 9.75, 700};
constexpr FontDesign large{"MS Sans Serif", 12};
constexpr const char* winItems[] = {"Yes", "No"};
// What a screen reader tells after the outcome of a race: its total and the grand total.
constexpr const char* raceResult[] = {"txtTotal", "txtGrandtot"};

// In the order of creation; each field's heading names it for screen readers. The result fields
// are written by Calculate: they can be selected and copied, not typed into.
// One row a control, as the layout reads.
// clang-format off
constexpr ControlDesign controls[] = {
    // Column headings.
    {.name = "Stake", .kind = Label, .rect = {240, 550, 1335, 495}, .text = "Stake Bet",
     .font = heading, .tabIndex = 0},
    {.name = "lblOdds", .kind = Label, .rect = {2160, 555, 1455, 615}, .text = "ODDS",
     .font = heading, .tabIndex = 1},
    {.name = "lbloddson", .kind = Label, .rect = {3960, 555, 1215, 735}, .text = "Odds-On",
     .font = heading, .tabIndex = 2},
    {.name = "lblwinyn", .kind = Label, .rect = {5400, 550, 1575, 735}, .text = "Did you win?",
     .font = heading, .tabIndex = 4},
    {.name = "lblWinnings", .kind = Label, .rect = {7440, 550, 2055, 735}, .text = "Winnings",
     .font = heading, .tabIndex = 3},
    {.name = "lblPlusStake", .kind = Label, .rect = {9360, 555, 1095, 855},
     .text = "Plus Original Stake", .font = heading, .tabIndex = 5},
    {.name = "lblTotal", .kind = Label, .rect = {11040, 555, 1215, 975}, .text = "TOTAL",
     .font = heading, .tabIndex = 6},
    {.name = "Label1", .kind = Label, .rect = {240, 1320, 855, 255}, .text = "RACE 1",
     .font = FontDesign{.underline = true}, .colour = Colour{192, 64, 0}, .tabIndex = 21},
    // The bet row.
    {.name = "txtStakebet", .kind = TextBox, .rect = {240, 1680, 1215, 315}, .text = "0.00",
     .tabIndex = 7, .toolTip = "Enter your stake here", .accessibleName = "Stake Bet",
     .heading = "Stake"},
    {.name = "txtLower", .kind = ComboBox, .rect = {2040, 1680, 735, 315}, .text = "1",
     .tabIndex = 8, .accessibleName = "ODDS, left-hand figure", .heading = "lblOdds"},
    {.name = "txtUpper", .kind = ComboBox, .rect = {3240, 1680, 735, 315}, .text = "1",
     .tabIndex = 9, .accessibleName = "ODDS, right-hand figure", .heading = "lblOdds"},
    {.name = "chkOdds", .kind = CheckBox, .rect = {4320, 1680, 495, 315}, .tabIndex = 10,
     .accessibleName = "Odds-On", .heading = "lbloddson"},
    {.name = "cmbWin", .kind = DropDownList, .rect = {5520, 1680, 1215, 315}, .tabIndex = 15,
     .accessibleName = "Did you win?", .heading = "lblwinyn", .items = winItems},
    {.name = "txtWinnings", .kind = TextBox, .rect = {7440, 1680, 1095, 315}, .text = "0.00",
     .tabIndex = 11, .accessibleName = "Winnings", .heading = "lblWinnings", .readOnly = true},
    {.name = "txtOrigstake", .kind = TextBox, .rect = {9360, 1680, 1095, 315}, .text = "0.00",
     .tabIndex = 12, .accessibleName = "Plus Original Stake", .heading = "lblPlusStake",
     .readOnly = true},
    {.name = "txtTotal", .kind = TextBox, .rect = {11040, 1680, 1215, 315}, .text = "0.00",
     .tabIndex = 13, .accessibleName = "TOTAL", .heading = "lblTotal", .readOnly = true},
    // The fraction bar between the two odds figures.
    {.name = "Line1", .kind = Line, .from = {3120, 1440}, .to = {2880, 2280}, .lineWidth = 5,
     .colour = Colour{0, 0, 0}},
    // Totals, messages, picture and buttons.
    {.name = "lblPrevious", .kind = Label, .rect = {2520, 4200, 1935, 255},
     .text = "Previous Total", .tabIndex = 25},
    {.name = "txtPrevious", .kind = TextBox, .rect = {2520, 4560, 2055, 420}, .text = "0.00",
     .font = large, .tabIndex = 24, .accessibleName = "Previous Total", .heading = "lblPrevious"},
    {.name = "lblRunning", .kind = Label, .rect = {4920, 4200, 1935, 255}, .text = "Running Total",
     .tabIndex = 27},
    {.name = "txtRunning", .kind = TextBox, .rect = {4920, 4560, 2055, 420}, .text = "0.00",
     .font = large, .tabIndex = 26, .accessibleName = "Running Total", .heading = "lblRunning"},
    {.name = "lblLose", .kind = Label, .rect = {8400, 5040, 1335, 855},
     .text = "YOU LOSE! You're as poor as a pudding.", .colour = Colour{255, 0, 0}, .tabIndex = 18,
     .announced = true, .announcedWith = raceResult},
    {.name = "lbl1win", .kind = Label, .rect = {8520, 5040, 1095, 735},
     .text = "YOU WIN! You're as rich as a Duke!", .colour = Colour{0, 0, 255}, .tabIndex = 17,
     .announced = true, .announcedWith = raceResult},
    {.name = "lblgrandtot", .kind = Label, .rect = {10080, 5040, 2055, 375}, .text = "GRAND TOTAL:",
     .font = FontDesign{"MS Sans Serif", 12, 700}, .tabIndex = 19},
    {.name = "txtGrandtot", .kind = TextBox, .rect = {10080, 5640, 2055, 495}, .text = "0.00",
     .font = large, .tabIndex = 20, .accessibleName = "GRAND TOTAL:", .heading = "lblgrandtot"},
    {.name = "picHorse", .kind = PictureBox, .rect = {race::startLeft, 5520, 375, 255},
     .tabIndex = 16, .picture = Picture::Horse, .takesFocus = false},
    {.name = "cmdCalculate", .kind = CommandButton, .rect = {3240, 5880, 2535, 615},
     .text = "Calculate", .font = FontDesign{"MS Sans Serif", 13.5}, .tabIndex = 14,
     .toolTip = "Click here to see your results"},
    {.name = "cmdSaveresults", .kind = CommandButton, .rect = {6240, 5880, 1335, 615},
     .text = "Save", .tabIndex = 23},
    {.name = "cmdReset", .kind = CommandButton, .rect = {240, 6240, 1455, 255}, .text = "Reset",
     .tabIndex = 22, .toolTip = "Click here to reset"},
    // The menu bar.
    {.name = "mnuFile", .kind = Menu, .text = "&File"},
    {.name = "cmdExit", .kind = MenuItem, .container = {"mnuFile"}, .text = "E&xit"},
    {.name = "mnuOptions", .kind = Menu, .text = "&Options"},
    {.name = "mnuPath", .kind = MenuItem, .container = {"mnuOptions"}, .text = "&Paths"},
    {.name = "mnuHelp", .kind = Menu, .text = "&Help"},
    {.name = "cmdAbout", .kind = MenuItem, .container = {"mnuHelp"}, .text = "&About Quorvex"},
};
// clang-format on

constexpr FormDesign form{
    .name = "frmMainfrm",
    .caption = "Tollick's Results",
    .style = FormStyle::Sizable,
    .clientWidth = 12600,
    .clientHeight = 6675,
    .position = TwipsPoint{60, 1380},
    .icon = true,
    .controls = controls,
};

} // namespace

const FormDesign& frmMainfrm::design() {
    return form;
}

platform::WindowInstance<frmMainfrm>& frmMainfrm::instance() {
    static platform::WindowInstance<frmMainfrm> instance;
    return instance;
}

frmMainfrm::frmMainfrm()
    : Form(form), m_horseLeft(race::startLeft), m_racePacer(raceDuration, race::steps) {}

void frmMainfrm::dispatch(const Event& event) {
    if (event.kind == Event::Close) {
        // Closing the window by its frame ends the program as Exit does.
        cmdExit_Click();
    } else if (cmdCalculate.clicked(event)) {
        cmdCalculate_Click();
    } else if (cmdSaveresults.clicked(event)) {
        cmdSaveresults_Click();
    } else if (cmdReset.clicked(event)) {
        cmdReset_Click();
    } else if (cmdExit.clicked(event)) {
        cmdExit_Click();
    } else if (mnuPath.clicked(event)) {
        mnuPath_Click();
    } else if (cmdAbout.clicked(event)) {
        cmdAbout_Click();
    }
}

void frmMainfrm::Form_Load() {
    lbl1win.hide();
    lblLose.hide();
    cmbWin.setText("Yes");
    LoadPreviousTotal(*this); // ignores every error of its own
}

void frmMainfrm::cmdCalculate_Click() {
    // Nothing can be clicked during the race: a second press meanwhile settles nothing.
    InputBlock busy;
    SettleBet(*this);
}

void frmMainfrm::cmdSaveresults_Click() {
    SaveResults(*this);
    MessageBox::current().showOk("Data saved to file!");
}

void frmMainfrm::cmdReset_Click() {
    Module1::ResetFigures();
}

void frmMainfrm::cmdExit_Click() {
    instance().unload();
    endProgram();
}

void frmMainfrm::mnuPath_Click() {
    frmOptions::instance().show();
}

void frmMainfrm::cmdAbout_Click() {
    frmAbout::instance().show();
}

Control& frmMainfrm::field(BetField field) {
    switch (field) {
    case BetField::Stakebet:
        return txtStakebet;
    case BetField::Lower:
        return txtLower;
    case BetField::Upper:
        return txtUpper;
    case BetField::Win:
        return cmbWin;
    case BetField::Origstake:
        return txtOrigstake;
    case BetField::Winnings:
        return txtWinnings;
    case BetField::Total:
        return txtTotal;
    case BetField::Grandtot:
        return txtGrandtot;
    case BetField::Previous:
        return txtPrevious;
    case BetField::Running:
        break;
    }
    return txtRunning;
}

std::string frmMainfrm::text(BetField which) {
    return field(which).text();
}

void frmMainfrm::setText(BetField which, const std::string& text) {
    field(which).setText(text);
}

int frmMainfrm::oddsOnValue() {
    return chkOdds.value();
}

void frmMainfrm::setWinVisible(bool visible) {
    lbl1win.setVisible(visible);
}

void frmMainfrm::setLoseVisible(bool visible) {
    lblLose.setVisible(visible);
}

int frmMainfrm::horseLeft() {
    return m_horseLeft;
}

void frmMainfrm::setHorseLeft(int left) {
    m_horseLeft = left;
    picHorse.setLeft(left);
}

void frmMainfrm::raceStepShown(int step) {
    if (window().isVisible())
        window().paintNow();
    m_racePacer.waitAfter(step);
}

std::string frmMainfrm::resultsFolder() {
    return frmOptions::instance().load().txtPath.text();
}

std::string frmMainfrm::runningTotal() {
    return txtRunning.text();
}

void frmMainfrm::setPreviousTotal(const std::string& text) {
    txtPrevious.setText(text);
}
