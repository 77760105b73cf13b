#include "ui/main/frmMainfrm.h"

#include "calc/NumberText.h"
#include "calc/Settlement.h"
#include "platform/Controls.h"
#include "platform/EventGuard.h"
#include "platform/Fonts.h"
#include "platform/LineControl.h"
#include "platform/MessageBox.h"
#include "platform/ProgramEnd.h"
#include "platform/TabOrder.h"
#include "platform/Twips.h"
#include "resources/Pictures.h"
#include "results/ResultsFile.h"
#include "ui/about/frmAbout.h"
#include "ui/main/Module1.h"
#include "ui/options/frmOptions.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

#include <chrono>

using namespace std::chrono_literals;
namespace twips = platform::twips;
using platform::label;
using platform::place;
using platform::setTextColour;

namespace {

// The whole run of the horse, whatever the machine.
constexpr auto raceDuration = 750ms;

QFont headingFont() {
    return platform::font("MS Sans Serif", 9.75, 700);
}
QFont largeFont() {
    return platform::font("MS Sans Serif", 12);
}

QLineEdit* textBox(QWidget* client, const char* name, int left, int top, int width, int height,
                   const QFont& font = platform::defaultFont()) {
    auto* control = place(new QLineEdit(QString::fromStdString(ZeroAmountText), client), name, left,
                          top, width, height);
    control->setFont(font);
    return control;
}

QComboBox* oddsBox(QWidget* client, const char* name, int left) {
    auto* control = place(new QComboBox(client), name, left, 1680, 735, 315);
    control->setEditable(true);
    control->setInsertPolicy(QComboBox::NoInsert); // the list stays empty
    control->setEditText(QStringLiteral("1"));
    return control;
}

// What a screen reader announces for a field: its name, and its heading through the label
// relation, which Qt's Linux bridge offers for combo boxes (it names those by their current
// text). An editable combo box's editor, where the typing goes, carries the name too.
void nameAfter(QWidget* field, QLabel* heading, const QString& name) {
    field->setAccessibleName(name);
    if (!heading->buddy())
        heading->setBuddy(field);
    if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
        combo->lineEdit()->setAccessibleName(name);
}

} // namespace

platform::WindowInstance<frmMainfrm>& frmMainfrm::instance() {
    static platform::WindowInstance<frmMainfrm> instance;
    return instance;
}

frmMainfrm::frmMainfrm() : m_horseLeft(race::startLeft), m_racePacer(raceDuration, race::steps) {
    setObjectName(QStringLiteral("frmMainfrm"));
    setWindowTitle(QStringLiteral("Tollick's Results"));
    setWindowIcon(pictures::programWindowIcon());
    setFont(platform::defaultFont());

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    createControls(client);
    connectHandlers();

    // The client area excludes the menu bar, as the layout's measures do.
    const QSize clientSize = twips::toPixels(0, 0, 12600, 6675).size();
    resize(clientSize.width(), clientSize.height() + menuBar()->sizeHint().height());
    twips::moveWindow(this, 60, 1380);
}

void frmMainfrm::createControls(QWidget* client) {
    const QFont heading = headingFont();
    Stake = label(client, "Stake", "Stake Bet", 240, 550, 1335, 495, heading);
    lblOdds = label(client, "lblOdds", "ODDS", 2160, 555, 1455, 615, heading);
    lbloddson = label(client, "lbloddson", "Odds-On", 3960, 555, 1215, 735, heading);
    lblwinyn = label(client, "lblwinyn", "Did you win?", 5400, 550, 1575, 735, heading);
    lblWinnings = label(client, "lblWinnings", "Winnings", 7440, 550, 2055, 735, heading);
    lblPlusStake =
        label(client, "lblPlusStake", "Plus Original Stake", 9360, 555, 1095, 855, heading);
    lblTotal = label(client, "lblTotal", "TOTAL", 11040, 555, 1215, 975, heading);
    Label1 = label(client, "Label1", "RACE 1", 240, 1320, 855, 255,
                   platform::font("MS Sans Serif", 8.25, 400, false, true));
    setTextColour(Label1, QColor(192, 64, 0));

    txtStakebet = textBox(client, "txtStakebet", 240, 1680, 1215, 315);
    txtStakebet->setToolTip(QStringLiteral("Enter your stake here"));
    txtLower = oddsBox(client, "txtLower", 2040);
    txtUpper = oddsBox(client, "txtUpper", 3240);
    chkOdds = place(new QCheckBox(client), "chkOdds", 4320, 1680, 495, 315);
    cmbWin = place(new QComboBox(client), "cmbWin", 5520, 1680, 1215, 315);
    cmbWin->addItems({QStringLiteral("Yes"), QStringLiteral("No")});
    // The results are written by Calculate; they can be selected and copied, not typed into.
    txtWinnings = textBox(client, "txtWinnings", 7440, 1680, 1095, 315);
    txtOrigstake = textBox(client, "txtOrigstake", 9360, 1680, 1095, 315);
    txtTotal = textBox(client, "txtTotal", 11040, 1680, 1215, 315);
    for (QLineEdit* result : {txtWinnings, txtOrigstake, txtTotal})
        result->setReadOnly(true);

    // The fraction bar between the two odds figures.
    Line1 = new platform::LineControl(client, {3120, 1440}, {2880, 2280}, 5, Qt::black);
    Line1->setObjectName(QStringLiteral("Line1"));

    const QFont large = largeFont();
    lblPrevious = label(client, "lblPrevious", "Previous Total", 2520, 4200, 1935, 255);
    txtPrevious = textBox(client, "txtPrevious", 2520, 4560, 2055, 420, large);
    lblRunning = label(client, "lblRunning", "Running Total", 4920, 4200, 1935, 255);
    txtRunning = textBox(client, "txtRunning", 4920, 4560, 2055, 420, large);
    lblLose =
        label(client, "lblLose", "YOU LOSE! You're as poor as a pudding.", 8400, 5040, 1335, 855);
    setTextColour(lblLose, QColor(255, 0, 0));
    lbl1win = label(client, "lbl1win", "YOU WIN! You're as rich as a Duke!", 8520, 5040, 1095, 735);
    setTextColour(lbl1win, QColor(0, 0, 255));
    lblgrandtot = label(client, "lblgrandtot", "GRAND TOTAL:", 10080, 5040, 2055, 375,
                        platform::font("MS Sans Serif", 12, 700));
    txtGrandtot = textBox(client, "txtGrandtot", 10080, 5640, 2055, 495, large);

    picHorse = place(new QLabel(client), "picHorse", race::startLeft, 5520, 375, 255);
    picHorse->setPixmap(pictures::horse());
    picHorse->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    cmdCalculate = place(new QPushButton(QStringLiteral("Calculate"), client), "cmdCalculate", 3240,
                         5880, 2535, 615);
    cmdCalculate->setFont(platform::font("MS Sans Serif", 13.5));
    cmdCalculate->setToolTip(QStringLiteral("Click here to see your results"));
    cmdSaveresults = place(new QPushButton(QStringLiteral("Save"), client), "cmdSaveresults", 6240,
                           5880, 1335, 615);
    cmdReset =
        place(new QPushButton(QStringLiteral("Reset"), client), "cmdReset", 240, 6240, 1455, 255);
    cmdReset->setToolTip(QStringLiteral("Click here to reset"));

    // The buttons speak their captions; the fields are named after their headings.
    nameAfter(txtStakebet, Stake, Stake->text());
    nameAfter(txtLower, lblOdds, lblOdds->text() + QStringLiteral(", left-hand figure"));
    nameAfter(txtUpper, lblOdds, lblOdds->text() + QStringLiteral(", right-hand figure"));
    nameAfter(chkOdds, lbloddson, lbloddson->text());
    nameAfter(cmbWin, lblwinyn, lblwinyn->text());
    nameAfter(txtWinnings, lblWinnings, lblWinnings->text());
    nameAfter(txtOrigstake, lblPlusStake, lblPlusStake->text());
    nameAfter(txtTotal, lblTotal, lblTotal->text());
    nameAfter(txtPrevious, lblPrevious, lblPrevious->text());
    nameAfter(txtRunning, lblRunning, lblRunning->text());
    nameAfter(txtGrandtot, lblgrandtot, lblgrandtot->text());

    // Ascending tab index among the controls that take the focus; cmbWin follows Calculate.
    platform::setTabOrder({txtStakebet, txtLower, txtUpper, chkOdds, txtWinnings, txtOrigstake,
                           txtTotal, cmdCalculate, cmbWin, txtGrandtot, cmdReset, cmdSaveresults,
                           txtPrevious, txtRunning});

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    cmdExit = mnuFile->addAction(QStringLiteral("E&xit"));
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    mnuOptions = menuBar()->addMenu(QStringLiteral("&Options"));
    mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    mnuPath = mnuOptions->addAction(QStringLiteral("&Paths"));
    mnuPath->setObjectName(QStringLiteral("mnuPath"));
    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    cmdAbout = mnuHelp->addAction(QStringLiteral("&About Quorvex"));
    cmdAbout->setObjectName(QStringLiteral("cmdAbout"));
}

void frmMainfrm::connectHandlers() {
    using platform::handler;
    connect(cmdCalculate, &QPushButton::clicked, this,
            handler(this, &frmMainfrm::cmdCalculate_Click));
    connect(cmdSaveresults, &QPushButton::clicked, this,
            handler(this, &frmMainfrm::cmdSaveresults_Click));
    connect(cmdReset, &QPushButton::clicked, this, handler(this, &frmMainfrm::cmdReset_Click));
    connect(cmdExit, &QAction::triggered, this, handler(this, &frmMainfrm::cmdExit_Click));
    connect(mnuPath, &QAction::triggered, this, handler(this, &frmMainfrm::mnuPath_Click));
    connect(cmdAbout, &QAction::triggered, this, handler(this, &frmMainfrm::cmdAbout_Click));
}

void frmMainfrm::Form_Load() {
    lbl1win->hide();
    lblLose->hide();
    cmbWin->setCurrentIndex(cmbWin->findText(QStringLiteral("Yes")));
    LoadPreviousTotal(*this); // ignores every error of its own
}

void frmMainfrm::cmdCalculate_Click() {
    SettleBet(*this);
}

void frmMainfrm::cmdSaveresults_Click() {
    SaveResults(*this);
    platform::MessageBox::current().showOk(QStringLiteral("Data saved to file!"));
}

void frmMainfrm::cmdReset_Click() {
    Module1::ResetFigures();
}

void frmMainfrm::cmdExit_Click() {
    instance().unload();
    platform::endProgram();
}

void frmMainfrm::mnuPath_Click() {
    frmOptions::instance().show();
}

void frmMainfrm::cmdAbout_Click() {
    frmAbout::instance().show();
}

void frmMainfrm::closeEvent(QCloseEvent* event) {
    event->accept();
    instance().unload();
    platform::endProgram();
}

std::string frmMainfrm::text(BetField field) {
    switch (field) {
    case BetField::Stakebet:
        return txtStakebet->text().toStdString();
    case BetField::Lower:
        return txtLower->currentText().toStdString();
    case BetField::Upper:
        return txtUpper->currentText().toStdString();
    case BetField::Win:
        return cmbWin->currentText().toStdString();
    case BetField::Origstake:
        return txtOrigstake->text().toStdString();
    case BetField::Winnings:
        return txtWinnings->text().toStdString();
    case BetField::Total:
        return txtTotal->text().toStdString();
    case BetField::Grandtot:
        return txtGrandtot->text().toStdString();
    case BetField::Previous:
        return txtPrevious->text().toStdString();
    case BetField::Running:
        return txtRunning->text().toStdString();
    }
    return {};
}

void frmMainfrm::setText(BetField field, const std::string& utf8) {
    const QString text = QString::fromStdString(utf8);
    switch (field) {
    case BetField::Lower:
        txtLower->setEditText(text);
        return;
    case BetField::Upper:
        txtUpper->setEditText(text);
        return;
    case BetField::Win:
        cmbWin->setCurrentIndex(cmbWin->findText(text));
        return;
    case BetField::Stakebet:
        txtStakebet->setText(text);
        return;
    case BetField::Origstake:
        txtOrigstake->setText(text);
        return;
    case BetField::Winnings:
        txtWinnings->setText(text);
        return;
    case BetField::Total:
        txtTotal->setText(text);
        return;
    case BetField::Grandtot:
        txtGrandtot->setText(text);
        return;
    case BetField::Previous:
        txtPrevious->setText(text);
        return;
    case BetField::Running:
        txtRunning->setText(text);
        return;
    }
}

int frmMainfrm::oddsOnValue() {
    return chkOdds->isChecked() ? 1 : 0;
}

void frmMainfrm::setWinVisible(bool visible) {
    lbl1win->setVisible(visible);
}

void frmMainfrm::setLoseVisible(bool visible) {
    lblLose->setVisible(visible);
}

int frmMainfrm::horseLeft() {
    return m_horseLeft;
}

void frmMainfrm::setHorseLeft(int left) {
    m_horseLeft = left;
    twips::setLeft(picHorse, left);
}

void frmMainfrm::raceStepShown(int step) {
    if (isVisible())
        centralWidget()->repaint();
    m_racePacer.waitAfter(step);
}

std::string frmMainfrm::resultsFolder() {
    return frmOptions::instance().load().txtPath->text().toStdString();
}

std::string frmMainfrm::runningTotal() {
    return txtRunning->text().toStdString();
}

void frmMainfrm::setPreviousTotal(const std::string& text) {
    txtPrevious->setText(QString::fromStdString(text));
}
