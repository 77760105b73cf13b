#include "calc/BetSheet.h"
#include "calc/Settlement.h"
#include "platform/RuntimeError.h"

#include <QMap>
#include <QStringList>
#include <QTest>

using platform::RuntimeError;

namespace {

QString name(BetField field) {
    static const char* const names[] = {"Stakebet", "Lower", "Upper",    "Win",      "Origstake",
                                        "Winnings", "Total", "Grandtot", "Previous", "Running"};
    return QString::fromLatin1(names[int(field)]);
}

// A sheet of plain fields that logs every read and write in order.
class RecordingSheet : public BetSheet {
public:
    QMap<BetField, QString> fields{
        {BetField::Stakebet, "0.00"}, {BetField::Lower, "1"},        {BetField::Upper, "1"},
        {BetField::Win, "Yes"},       {BetField::Origstake, "0.00"}, {BetField::Winnings, "0.00"},
        {BetField::Total, "0.00"},    {BetField::Grandtot, "0.00"},  {BetField::Previous, "0.00"},
        {BetField::Running, "0.00"},
    };
    int oddsOn = 0;
    bool winVisible = true;
    bool loseVisible = true;
    int left = 0;
    QList<int> lefts;
    QStringList log;

    std::string text(BetField field) override {
        log << "read " + name(field);
        return fields.value(field).toStdString();
    }
    void setText(BetField field, const std::string& text) override {
        log << "write " + name(field);
        fields[field] = QString::fromStdString(text);
    }
    int oddsOnValue() override {
        log << "read oddsOn";
        return oddsOn;
    }
    void setWinVisible(bool visible) override {
        log << QString("win %1").arg(visible);
        winVisible = visible;
    }
    void setLoseVisible(bool visible) override {
        log << QString("lose %1").arg(visible);
        loseVisible = visible;
    }
    int horseLeft() override { return left; }
    void setHorseLeft(int value) override { left = value; }
    void raceStepShown(int) override { lefts << left; }
};

} // namespace

class tst_Settlement : public QObject {
    Q_OBJECT
private slots:
    void settles_data();
    void settles();
    void divisorOfZeroStopsAfterWinShown_data();
    void divisorOfZeroStopsAfterWinShown();
    void overflowingSumKeepsEarlierSteps();
    void readsInTheGivenOrder_data();
    void readsInTheGivenOrder();
    void horseRunsFromStartEachTime();
    void typedTotalsTakePart();
};

void tst_Settlement::settles_data() {
    QTest::addColumn<QString>("stake");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<int>("oddsOn");
    QTest::addColumn<QString>("win");
    QTest::addColumn<QString>("grand");
    QTest::addColumn<QString>("previous");
    QTest::addColumn<bool>("won");
    QTest::addColumn<QString>("origstake");
    QTest::addColumn<QString>("winnings");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("grandAfter");
    QTest::addColumn<QString>("running");

    // clang-format off
    QTest::newRow("worked example won") << "10" << "5" << "2" << 0 << "Yes" << "0.00" << "" << true << "10" << "25.00" << " 35" << " 35" << " 35";
    QTest::newRow("worked example lost") << "10" << "5" << "2" << 0 << "No" << "0.00" << "" << false << "-10" << "0.00" << "-10" << "-10" << "-10";
    QTest::newRow("empty selection is a loss") << "10" << "5" << "2" << 0 << "" << "0.00" << "" << false << "-10" << "0.00" << "-10" << "-10" << "-10";
    QTest::newRow("lower case yes is a loss") << "10" << "5" << "2" << 0 << "yes" << "0.00" << "" << false << "-10" << "0.00" << "-10" << "-10" << "-10";
    QTest::newRow("two to five not odds-on") << "10" << "2" << "5" << 0 << "Yes" << "0.00" << "0.00" << true << "10" << "4.00" << " 14" << " 14" << " 14";
    QTest::newRow("two to five odds-on") << "10" << "2" << "5" << 1 << "Yes" << "0.00" << "0.00" << true << "10" << "25.00" << " 35" << " 35" << " 35";
    QTest::newRow("any non-zero check value is odds-on") << "10" << "2" << "5" << 2 << "Yes" << "0.00" << "0.00" << true << "10" << "25.00" << " 35" << " 35" << " 35";
    QTest::newRow("one to three with a half stake") << "10.5" << "1" << "3" << 0 << "Yes" << "0.00" << "0.00" << true << "10.5" << "3.50" << " 14" << " 14" << " 14";
    QTest::newRow("winnings of a third, total from rounded winnings") << "1" << "1" << "3" << 0 << "Yes" << "0.00" << "0.00" << true << "1" << "0.33" << " 1.33" << " 1.33" << " 1.33";
    QTest::newRow("empty stake won") << "" << "5" << "2" << 0 << "Yes" << "0.00" << "0.00" << true << "" << "0.00" << " 0" << " 0" << " 0";
    QTest::newRow("empty stake lost leaves grand total's value") << "" << "5" << "2" << 0 << "No" << " 12" << "3" << false << " 0" << "0.00" << " 0" << " 12" << " 15";
    QTest::newRow("stake copied as typed") << " 1 0 " << "5" << "2" << 0 << "Yes" << "0.00" << "0.00" << true << " 1 0 " << "25.00" << " 35" << " 35" << " 35";
    QTest::newRow("carried into existing totals") << "10" << "5" << "2" << 0 << "Yes" << " 40" << "-100" << true << "10" << "25.00" << " 35" << " 75" << "-25";
    QTest::newRow("lost bet never reads empty odds") << "4" << "" << "" << 0 << "No" << "0.00" << "0.00" << false << "-4" << "0.00" << "-4" << "-4" << "-4";
    // clang-format on
}

void tst_Settlement::settles() {
    QFETCH(QString, stake);
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(int, oddsOn);
    QFETCH(QString, win);
    QFETCH(QString, grand);
    QFETCH(QString, previous);
    QFETCH(bool, won);

    RecordingSheet sheet;
    sheet.fields[BetField::Stakebet] = stake;
    sheet.fields[BetField::Lower] = lower;
    sheet.fields[BetField::Upper] = upper;
    sheet.fields[BetField::Win] = win;
    sheet.fields[BetField::Grandtot] = grand;
    sheet.fields[BetField::Previous] = previous;
    sheet.oddsOn = oddsOn;
    SettleBet(sheet);

    QCOMPARE(sheet.winVisible, won);
    QCOMPARE(sheet.loseVisible, !won);
    QTEST(sheet.fields[BetField::Origstake], "origstake");
    QTEST(sheet.fields[BetField::Winnings], "winnings");
    QTEST(sheet.fields[BetField::Total], "total");
    QTEST(sheet.fields[BetField::Grandtot], "grandAfter");
    QTEST(sheet.fields[BetField::Running], "running");
    if (!won) {
        QVERIFY(!sheet.log.contains("read Lower"));
        QVERIFY(!sheet.log.contains("read Upper"));
    }
}

void tst_Settlement::divisorOfZeroStopsAfterWinShown_data() {
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<int>("oddsOn");
    QTest::addColumn<QString>("stake");
    // clang-format off
    QTest::newRow("upper empty") << "5" << "" << 0 << "10";
    QTest::newRow("upper zero") << "5" << "0" << 0 << "10";
    QTest::newRow("upper zero, stake zero") << "5" << "0" << 0 << "0";
    QTest::newRow("lower zero, odds-on") << "0" << "2" << 1 << "10";
    // clang-format on
}

void tst_Settlement::divisorOfZeroStopsAfterWinShown() {
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(int, oddsOn);
    QFETCH(QString, stake);

    RecordingSheet sheet;
    sheet.fields[BetField::Stakebet] = stake;
    sheet.fields[BetField::Lower] = lower;
    sheet.fields[BetField::Upper] = upper;
    sheet.fields[BetField::Grandtot] = " 7";
    sheet.oddsOn = oddsOn;
    try {
        SettleBet(sheet);
        QFAIL("no error raised");
    } catch (const RuntimeError& error) {
        QCOMPARE(error.number(), int(RuntimeError::DivisionByZero));
    }
    QCOMPARE(sheet.lefts.size(), 151); // the animation ran first
    QVERIFY(sheet.winVisible);
    QVERIFY(!sheet.loseVisible);
    QCOMPARE(sheet.fields[BetField::Origstake], stake);
    QCOMPARE(sheet.fields[BetField::Winnings], QStringLiteral("0.00"));
    QCOMPARE(sheet.fields[BetField::Grandtot], QStringLiteral(" 7"));
    QCOMPARE(sheet.fields[BetField::Running], QStringLiteral("0.00"));
}

void tst_Settlement::overflowingSumKeepsEarlierSteps() {
    RecordingSheet sheet;
    sheet.fields[BetField::Stakebet] = "1e308";
    sheet.fields[BetField::Grandtot] = "1.5e308";
    sheet.fields[BetField::Win] = "No";
    sheet.fields[BetField::Previous] = "0";
    sheet.fields[BetField::Stakebet] = "-1e308";
    try {
        SettleBet(sheet);
        QFAIL("no error raised");
    } catch (const RuntimeError& error) {
        QCOMPARE(error.number(), int(RuntimeError::Overflow));
    }
    QCOMPARE(sheet.fields[BetField::Total], QStringLiteral(" 1E+308"));
    QCOMPARE(sheet.fields[BetField::Grandtot], QStringLiteral("1.5e308"));
    QVERIFY(sheet.loseVisible);
}

void tst_Settlement::readsInTheGivenOrder_data() {
    QTest::addColumn<int>("oddsOn");
    QTest::addColumn<QString>("win");
    QTest::addColumn<QStringList>("expected");
    const QStringList start{"win 0", "lose 0", "read oddsOn", "read Win"};
    const QStringList carry{"read Grandtot", "read Total",    "write Grandtot",
                            "read Previous", "read Grandtot", "write Running"};
    // clang-format off
    QTest::newRow("won, not odds-on") << 0 << "Yes" << start + QStringList{"win 1",         "read Stakebet", "write Origstake", "read Stakebet", "read Upper",    "read Lower",    "write Winnings",  "read Origstake", "read Winnings", "write Total"} + carry;
    QTest::newRow("won, odds-on") << 1 << "Yes" << start + QStringList{"win 1",           "read Stakebet", "write Origstake", "read Stakebet", "read Lower",      "read Upper", "write Winnings",  "read Origstake", "read Winnings",   "write Total"} + carry;
    QTest::newRow("lost") << 0 << "No" << start + QStringList{"lose 1",         "read Stakebet",  "write Origstake", "write Winnings", "read Origstake", "write Total"} + carry;
    // clang-format on
}

void tst_Settlement::readsInTheGivenOrder() {
    QFETCH(int, oddsOn);
    QFETCH(QString, win);
    RecordingSheet sheet;
    sheet.oddsOn = oddsOn;
    sheet.fields[BetField::Win] = win;
    SettleBet(sheet);
    QTEST(sheet.log, "expected");
}

void tst_Settlement::horseRunsFromStartEachTime() {
    RecordingSheet sheet;
    sheet.left = 9999;
    RaceAnimation(sheet);
    QCOMPARE(sheet.lefts.size(), 151);
    QCOMPARE(sheet.lefts.first(), 530);
    QCOMPARE(sheet.lefts.last(), 480 + 151 * 50);
    RaceAnimation(sheet);
    QCOMPARE(sheet.lefts.at(151), 530);
}

void tst_Settlement::typedTotalsTakePart() {
    RecordingSheet sheet;
    sheet.fields[BetField::Stakebet] = "10";
    sheet.fields[BetField::Lower] = "5";
    sheet.fields[BetField::Upper] = "2";
    sheet.fields[BetField::Grandtot] = "100 corrected";
    sheet.fields[BetField::Previous] = "abc";
    sheet.fields[BetField::Total] = "999"; // overwritten before it is read
    SettleBet(sheet);
    QCOMPARE(sheet.fields[BetField::Grandtot], QStringLiteral(" 135"));
    QCOMPARE(sheet.fields[BetField::Running], QStringLiteral(" 135"));
}

QTEST_APPLESS_MAIN(tst_Settlement)
#include "tst_Settlement.moc"
