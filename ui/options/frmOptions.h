#pragma once

#include "platform/Form.h"
#include "platform/WindowInstance.h"

#include <array>

// The tabbed dialog that holds the results folder. The folder has no store of its own: it is
// the text of txtPath in the loaded instance, read whenever the results file is used.
class frmOptions : public platform::Form {
public:
    frmOptions();

    // The program-wide instance.
    static platform::WindowInstance<frmOptions>& instance();
    static const platform::FormDesign& design();

    // Panel i belongs to tab i + 1; only the selected tab's panel is in place.
    std::array<platform::Control, 4> picOptions{
        platform::Control{*this, "picOptions", 0}, platform::Control{*this, "picOptions", 1},
        platform::Control{*this, "picOptions", 2}, platform::Control{*this, "picOptions", 3}};
    platform::Control fraSample4{*this, "fraSample4"};
    platform::Control fraSample3{*this, "fraSample3"};
    platform::Control fraSample2{*this, "fraSample2"};
    platform::Control txtPath{*this, "txtPath"};
    platform::Control lblPath{*this, "lblPath"};
    platform::Control cmdApply{*this, "cmdApply"};
    platform::Control cmdCancel{*this, "cmdCancel"};
    platform::Control cmdOK{*this, "cmdOK"};
    platform::TabStripControl tbsOptions{*this, "tbsOptions"};

    void Form_Load();
    void tbsOptions_Click();
    // keyCode as the window system numbers keys (Tab = 9); shift: Shift 1, Ctrl 2, Alt 4.
    void Form_KeyDown(int keyCode, int shift);
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdApply_Click();

private:
    void dispatch(const platform::Event& event) override;
};
