#pragma once

#include <string>

// The main window's fields as the settlement sees them: texts (UTF-8), the odds-on check box, the
// two result labels and the horse picture. The window implements it; tests use a sheet of their
// own.
enum class BetField {
    Stakebet,  // stake as typed
    Lower,     // left-hand odds figure
    Upper,     // right-hand odds figure
    Win,       // "Yes" when the bet won
    Origstake, // original stake
    Winnings,  // winnings in money form
    Total,     // race total
    Grandtot,  // grand total
    Previous,  // previous total from the results file
    Running,   // running total
};

class BetSheet {
public:
    virtual ~BetSheet() = default;

    virtual std::string text(BetField field) = 0;
    virtual void setText(BetField field, const std::string& text) = 0;

    // The odds-on check box: 0 unchecked, anything else checked.
    virtual int oddsOnValue() = 0;

    virtual void setWinVisible(bool visible) = 0;
    virtual void setLoseVisible(bool visible) = 0;

    // The horse picture's Left, in twips.
    virtual int horseLeft() = 0;
    virtual void setHorseLeft(int left) = 0;
    // Called after each animation step has moved the horse: show it, then pause.
    virtual void raceStepShown(int step) = 0;
};
