#pragma once

#include "platform/AppInfo.h"
#include "platform/AutoSizeLabel.h"
#include "platform/WindowInstance.h"

#include <QFrame>

// The window that stands on the screen while the program starts: the owner's name, the title,
// the platform, the version and a warning around the program's icon. No title bar, no commands;
// any character key or a click on the frame's bare area takes it down early.
class frmSplash : public QFrame {
    Q_OBJECT
public:
    frmSplash();

    // The program-wide instance.
    static platform::WindowInstance<frmSplash>& instance();

    QFrame* Frame1;
    QLabel* imgLogo;
    QLabel* lblCopyright;
    QLabel* lblCompany;
    QLabel* lblWarning;
    platform::AutoSizeLabel* lblVersion;
    platform::AutoSizeLabel* lblPlatform;
    platform::AutoSizeLabel* lblProductName;
    QLabel* lblLicenseTo;
    platform::AutoSizeLabel* lblCompanyProduct;

    // The version is the program's own unless a caller names another.
    void Form_Load(const platform::AppVersionNumbers& version = {});
    // Any key that produces a character; which one does not matter.
    void Form_KeyPress(int keyAscii);
    void Frame1_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls(QWidget* client);
    bool previewKey(QEvent* event);
    void watchFrame1(QEvent* event);

    bool m_frame1Pressed = false;
};
