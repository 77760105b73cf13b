#pragma once

#include "calc/BetSheet.h"
#include "platform/Pause.h"
#include "platform/WindowInstance.h"
#include "results/ResultsFile.h"

#include <QMainWindow>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
namespace platform {
class LineControl;
}

// The working window: a sheet for settling one race bet at a time and keeping the totals.
// Controls stay at their design positions whatever the window's size.
class frmMainfrm : public QMainWindow, private BetSheet, private ResultsSheet {
    Q_OBJECT
public:
    frmMainfrm();

    // The program-wide instance.
    static platform::WindowInstance<frmMainfrm>& instance();

    // Column headings.
    QLabel* Stake;
    QLabel* lblOdds;
    QLabel* lbloddson;
    QLabel* lblwinyn;
    QLabel* lblWinnings;
    QLabel* lblPlusStake;
    QLabel* lblTotal;
    QLabel* Label1;

    // The bet row.
    QLineEdit* txtStakebet;
    QComboBox* txtLower;
    QComboBox* txtUpper;
    QCheckBox* chkOdds;
    QComboBox* cmbWin;
    QLineEdit* txtWinnings;
    QLineEdit* txtOrigstake;
    QLineEdit* txtTotal;
    platform::LineControl* Line1;

    // Totals, messages, picture and buttons.
    QLabel* lblPrevious;
    QLineEdit* txtPrevious;
    QLabel* lblRunning;
    QLineEdit* txtRunning;
    QLabel* lblLose;
    QLabel* lbl1win;
    QLabel* lblgrandtot;
    QLineEdit* txtGrandtot;
    QLabel* picHorse;
    QPushButton* cmdCalculate;
    QPushButton* cmdSaveresults;
    QPushButton* cmdReset;

    // The menu bar.
    QMenu* mnuFile;
    QAction* cmdExit;
    QMenu* mnuOptions;
    QAction* mnuPath;
    QMenu* mnuHelp;
    QAction* cmdAbout;

    // The horse picture's Left in twips; its pixel position is this rounded.
    int horseLeftTwips() const { return m_horseLeft; }

    void Form_Load();
    void cmdCalculate_Click();
    void cmdSaveresults_Click();
    void cmdReset_Click();
    void cmdExit_Click();
    void mnuPath_Click();
    void cmdAbout_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls(QWidget* client);
    void connectHandlers();

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

    int m_horseLeft;
    platform::StepPacer m_racePacer;
};
