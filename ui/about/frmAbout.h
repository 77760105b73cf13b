#pragma once

#include "platform/AppInfo.h"
#include "platform/Form.h"
#include "platform/WindowInstance.h"

#include <array>

// The About box: the program's icon, title, version and a word of warning, with OK and a button
// that starts the system information tool. A fixed dialog, modeless, owned by no window.
class frmAbout : public platform::Form {
public:
    frmAbout();

    // The program-wide instance.
    static platform::WindowInstance<frmAbout>& instance();
    static const platform::FormDesign& design();

    platform::Control cmdOK{*this, "cmdOK"};
    platform::Control picIcon{*this, "picIcon"};
    platform::Control cmdSysInfo{*this, "cmdSysInfo"};
    platform::Control lblDescription{*this, "lblDescription"};
    platform::Control lblDisclaimer{*this, "lblDisclaimer"};
    platform::Control lblTitle{*this, "lblTitle"};
    platform::Control lblVersion{*this, "lblVersion"};
    // The etched separator: index 1 the grey line, index 0 the white one beneath it.
    std::array<platform::Control, 2> Line1{platform::Control{*this, "Line1", 0},
                                           platform::Control{*this, "Line1", 1}};

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    void dispatch(const platform::Event& event) override;
};
