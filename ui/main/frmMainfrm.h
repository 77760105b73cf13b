#pragma once

#include "calc/BetSheet.h"
#include "platform/Form.h"
#include "platform/Pause.h"
#include "platform/WindowInstance.h"
#include "results/ResultsFile.h"

// The working window: a sheet for settling one race bet at a time and keeping the totals.
// Controls stay at their design positions whatever the window's size.
class frmMainfrm : public platform::Form, private BetSheet, private ResultsSheet {
public:
    frmMainfrm();

    // The program-wide instance.
    static platform::WindowInstance<frmMainfrm>& instance();
    // The window and its controls as they stand at design time.
    static const platform::FormDesign& design();

    // Column headings.
    platform::Control Stake{*this, "Stake"};
    platform::Control lblOdds{*this, "lblOdds"};
    platform::Control lbloddson{*this, "lbloddson"};
    platform::Control lblwinyn{*this, "lblwinyn"};
    platform::Control lblWinnings{*this, "lblWinnings"};
    platform::Control lblPlusStake{*this, "lblPlusStake"};
    platform::Control lblTotal{*this, "lblTotal"};
    platform::Control Label1{*this, "Label1"};

    // The bet row.
    platform::Control txtStakebet{*this, "txtStakebet"};
    platform::Control txtLower{*this, "txtLower"};
    platform::Control txtUpper{*this, "txtUpper"};
    platform::Control chkOdds{*this, "chkOdds"};
    platform::Control cmbWin{*this, "cmbWin"};
    platform::Control txtWinnings{*this, "txtWinnings"};
    platform::Control txtOrigstake{*this, "txtOrigstake"};
    platform::Control txtTotal{*this, "txtTotal"};
    platform::Control Line1{*this, "Line1"};

    // Totals, messages, picture and buttons.
    platform::Control lblPrevious{*this, "lblPrevious"};
    platform::Control txtPrevious{*this, "txtPrevious"};
    platform::Control lblRunning{*this, "lblRunning"};
    platform::Control txtRunning{*this, "txtRunning"};
    platform::Control lblLose{*this, "lblLose"};
    platform::Control lbl1win{*this, "lbl1win"};
    platform::Control lblgrandtot{*this, "lblgrandtot"};
    platform::Control txtGrandtot{*this, "txtGrandtot"};
    platform::Control picHorse{*this, "picHorse"};
    platform::Control cmdCalculate{*this, "cmdCalculate"};
    platform::Control cmdSaveresults{*this, "cmdSaveresults"};
    platform::Control cmdReset{*this, "cmdReset"};

    // The menu bar.
    platform::Control mnuFile{*this, "mnuFile"};
    platform::Control cmdExit{*this, "cmdExit"};
    platform::Control mnuOptions{*this, "mnuOptions"};
    platform::Control mnuPath{*this, "mnuPath"};
    platform::Control mnuHelp{*this, "mnuHelp"};
    platform::Control cmdAbout{*this, "cmdAbout"};

    // The horse picture's Left in twips; its pixel position is this rounded.
    int horseLeftTwips() const { return m_horseLeft; }

    void Form_Load();
    void cmdCalculate_Click();
    void cmdSaveresults_Click();
    void cmdReset_Click();
    void cmdExit_Click();
    void mnuPath_Click();
    void cmdAbout_Click();

private:
    void dispatch(const platform::Event& event) override;

    // BetSheet: how the settlement reads and writes this window.
    std::string text(BetField field) override;
    void setText(BetField field, const std::string& text) override;
    int oddsOnValue() override;
    void setWinVisible(bool visible) override;
    void setLoseVisible(bool visible) override;
    int horseLeft() override;
    void setHorseLeft(int left) override;
    void raceStepShown(int step) override;

    // ResultsSheet: the folder comes from the Options dialog, loading it hidden if need be.
    std::string resultsFolder() override;
    std::string runningTotal() override;
    void setPreviousTotal(const std::string& text) override;

    platform::Control& field(BetField field);

    int m_horseLeft;
    platform::StepPacer m_racePacer;
};
