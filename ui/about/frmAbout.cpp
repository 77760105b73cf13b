#include "ui/about/frmAbout.h"

#include "platform/Controls.h"
#include "platform/EventGuard.h"
#include "platform/FileSearch.h"
#include "platform/Fonts.h"
#include "platform/LineControl.h"
#include "platform/MessageBox.h"
#include "platform/ProgramLauncher.h"
#include "platform/TabOrder.h"
#include "platform/Twips.h"
#include "resources/Pictures.h"
#include "ui/about/SysInfoLauncher.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace twips = platform::twips;
using platform::label;
using platform::place;

namespace {

// The launcher's message in the program's message box.
class MessageBoxMessages : public SysInfoMessages {
public:
    void showOk(const std::string& text) override {
        platform::MessageBox::current().showOk(QString::fromLocal8Bit(text));
    }
};

SysInfoLauncher systemLauncher() {
    static MessageBoxMessages messages;
    return SysInfoLauncher(platform::Registry::current(), platform::FileSearch::current(),
                           platform::ProgramLauncher::current(), messages);
}

} // namespace

platform::WindowInstance<frmAbout>& frmAbout::instance() {
    static platform::WindowInstance<frmAbout> instance;
    return instance;
}

frmAbout::frmAbout() {
    setObjectName(QStringLiteral("frmAbout"));
    platform::makeFixedDialog(this, 5730, 3555);
    setWindowTitle(QStringLiteral("About MyApp"));
    setFont(platform::defaultFont());
    setModal(false);

    createControls();
    connect(cmdOK, &QPushButton::clicked, this, platform::handler(this, &frmAbout::cmdOK_Click));
    connect(cmdSysInfo, &QPushButton::clicked, this,
            platform::handler(this, &frmAbout::cmdSysInfo_Click));

    twips::moveWindow(this, 2340, 1935);
}

void frmAbout::createControls() {
    cmdOK = place(new QPushButton(QStringLiteral("OK"), this), "cmdOK", 4245, 2625, 1260, 345);
    cmdOK->setDefault(true);

    // The program's icon in a sunken box that fits it.
    picIcon = place(new QLabel(this), "picIcon", 240, 240, 300, 300);
    picIcon->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    picIcon->setPixmap(pictures::programIcon());
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setFocusPolicy(Qt::NoFocus);

    cmdSysInfo = place(new QPushButton(QStringLiteral("&System Info..."), this), "cmdSysInfo", 4260,
                       3075, 1245, 345);

    lblDescription = label(this, "lblDescription",
                           "This is Tollick's personal Betting calculator. Very early version. "
                           "Vital to check results.",
                           1050, 1125, 3885, 1170);
    lblDisclaimer = label(this, "lblDisclaimer",
                          "Warning: ...Use this program at your own risk. Check all results "
                          "manually.",
                          255, 2625, 3870, 825);
    lblTitle = label(this, "lblTitle", "Application Title", 1050, 240, 3885, 480,
                     platform::font("MS Sans Serif", 12, 700, true));
    lblVersion = label(this, "lblVersion", "Version", 1050, 780, 3885, 225);
    for (QLabel* text : {lblDescription, lblDisclaimer, lblTitle, lblVersion})
        platform::setTextColour(text, Qt::black);

    // The white line first, so that the grey one lies over it where they meet: grey above
    // white, an etched groove.
    Line1[0] = new platform::LineControl(this, {105, 2460}, {5654, 2460}, 2, QColor(255, 255, 255));
    Line1[1] = new platform::LineControl(this, {90, 2445}, {5654, 2445}, 1, QColor(128, 128, 128));
    for (int index : {0, 1}) {
        Line1[index]->setObjectName(QStringLiteral("Line1"));
        Line1[index]->setProperty("index", index);
    }

    // The icon takes no focus here, so the Tab key goes between the two buttons.
    platform::setTabOrder({cmdOK, cmdSysInfo});
}

void frmAbout::Form_Load(const platform::AppVersionNumbers& version) {
    setWindowTitle(QStringLiteral("About ") + QString::fromUtf8(platform::appTitle));
    lblVersion->setText(QString::fromStdString(platform::versionLine(version)));
    lblTitle->setText(QString::fromUtf8(platform::appTitle));
}

void frmAbout::cmdOK_Click() {
    instance().unload();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    systemLauncher().StartSysInfo();
}

bool frmAbout::GetKeyValue(const platform::Registry::Key& KeyRoot, const std::string& KeyName,
                           const std::string& SubKeyRef, std::string& KeyVal) {
    return systemLauncher().GetKeyValue(KeyRoot, KeyName, SubKeyRef, KeyVal);
}

void frmAbout::reject() {
    cmdOK->click();
}

void frmAbout::closeEvent(QCloseEvent* event) {
    event->accept();
    instance().unload();
}
