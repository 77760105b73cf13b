#pragma once

#include "platform/AppInfo.h"
#include "platform/Form.h"
#include "platform/WindowInstance.h"

// The window that stands on the screen while the program starts: the owner's name, the title,
// the platform, the version and a warning around the program's icon. No title bar, no commands;
// any character key or a click on the frame's bare area takes it down early.
class frmSplash : public platform::Form {
public:
    frmSplash();

    // The program-wide instance.
    static platform::WindowInstance<frmSplash>& instance();
    static const platform::FormDesign& design();

    platform::Control Frame1{*this, "Frame1"};
    platform::Control imgLogo{*this, "imgLogo"};
    platform::Control lblCopyright{*this, "lblCopyright"};
    platform::Control lblCompany{*this, "lblCompany"};
    platform::Control lblWarning{*this, "lblWarning"};
    platform::Control lblVersion{*this, "lblVersion"};
    platform::Control lblPlatform{*this, "lblPlatform"};
    platform::Control lblProductName{*this, "lblProductName"};
    platform::Control lblLicenseTo{*this, "lblLicenseTo"};
    platform::Control lblCompanyProduct{*this, "lblCompanyProduct"};

    // The version is the program's own unless a caller names another.
    void Form_Load();
    // Any key that produces a character; which one does not matter.
    void Form_KeyPress(int keyAscii);
    void Frame1_Click();

private:
    void dispatch(const platform::Event& event) override;
};
