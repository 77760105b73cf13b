#include "calc/Settlement.h"

#include "calc/BetSheet.h"
#include "calc/NumberText.h"
#include "platform/CheckedMath.h"
#include "platform/RuntimeError.h"

#include <limits>

namespace checked = platform::checked;

namespace {

double read(BetSheet& sheet, BetField field) {
    return ReadAmount(sheet.text(field));
}

void settleLoss(BetSheet& sheet) {
    sheet.setLoseVisible(true);
    const double stake = read(sheet, BetField::Stakebet);
    sheet.setText(BetField::Origstake, FormatPlainAmount(checked::negate(stake)));
    sheet.setText(BetField::Winnings, ZeroAmountText);
    sheet.setText(BetField::Total, sheet.text(BetField::Origstake));
}

void settleWin(BetSheet& sheet, bool oddsOn) {
    sheet.setWinVisible(true);
    sheet.setText(BetField::Origstake, sheet.text(BetField::Stakebet));
    const double stake = read(sheet, BetField::Stakebet);

    // The division comes first and the multiplication second; the divisor is read first.
    double winnings;
    if (oddsOn) {
        const double lower = read(sheet, BetField::Lower);
        const double upper = read(sheet, BetField::Upper);
        winnings = checked::multiply(checked::divide(stake, lower), upper);
    } else {
        const double upper = read(sheet, BetField::Upper);
        const double lower = read(sheet, BetField::Lower);
        winnings = checked::multiply(checked::divide(stake, upper), lower);
    }
    sheet.setText(BetField::Winnings, FormatMoneyAmount(winnings));

    // Built from the rounded winnings as they stand in their field.
    const double original = read(sheet, BetField::Origstake);
    const double shownWinnings = read(sheet, BetField::Winnings);
    sheet.setText(BetField::Total, FormatPlainAmount(checked::add(original, shownWinnings)));
}

void carryTotals(BetSheet& sheet) {
    const double grand = read(sheet, BetField::Grandtot);
    const double race = read(sheet, BetField::Total);
    sheet.setText(BetField::Grandtot, FormatPlainAmount(checked::add(grand, race)));

    const double previous = read(sheet, BetField::Previous);
    const double newGrand = read(sheet, BetField::Grandtot);
    sheet.setText(BetField::Running, FormatPlainAmount(checked::add(previous, newGrand)));
}

} // namespace

void RaceAnimation(BetSheet& sheet) {
    sheet.setHorseLeft(race::startLeft);
    for (int step = 0; step < race::steps; ++step) {
        const int left = sheet.horseLeft();
        if (left > std::numeric_limits<int>::max() - race::stepDistance)
            throw platform::RuntimeError::of(platform::RuntimeError::Overflow);
        sheet.setHorseLeft(left + race::stepDistance);
        sheet.raceStepShown(step);
    }
}

void SettleBet(BetSheet& sheet) {
    sheet.setWinVisible(false);
    sheet.setLoseVisible(false);
    RaceAnimation(sheet);

    const bool oddsOn = sheet.oddsOnValue() != 0;
    const bool won = sheet.text(BetField::Win) == "Yes";
    if (won)
        settleWin(sheet, oddsOn);
    else
        settleLoss(sheet);
    carryTotals(sheet);
}
