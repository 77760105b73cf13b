#pragma once

#include "platform/AppInfo.h"
#include "platform/Registry.h"
#include "platform/WindowInstance.h"

#include <QDialog>

#include <array>
#include <string>

class QLabel;
class QPushButton;
namespace platform {
class LineControl;
}

// The About box: the program's icon, title, version and a word of warning, with OK and a button
// that starts the system information tool. A fixed dialog, modeless, owned by no window.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout();

    // The program-wide instance.
    static platform::WindowInstance<frmAbout>& instance();

    QPushButton* cmdOK;
    QLabel* picIcon;
    QPushButton* cmdSysInfo;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    QLabel* lblTitle;
    QLabel* lblVersion;
    // The etched separator: index 1 the grey line, index 0 the white one beneath it.
    std::array<platform::LineControl*, 2> Line1;

    void Form_Load(const platform::AppVersionNumbers& version = {});
    void cmdOK_Click();
    void cmdSysInfo_Click();

    void StartSysInfo();
    bool GetKeyValue(const platform::Registry::Key& KeyRoot, const std::string& KeyName,
                     const std::string& SubKeyRef, std::string& KeyVal);

protected:
    // Esc presses OK, the cancel button.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
};
