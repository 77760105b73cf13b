#include "calc/NumberText.h"
#include "platform/RuntimeError.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>

using platform::RuntimeError;

class tst_NumberText : public QObject {
    Q_OBJECT
private slots:
    void readAmount_data();
    void readAmount();
    void readAmountOverflows_data();
    void readAmountOverflows();
    void plainForm_data();
    void plainForm();
    void moneyForm_data();
    void moneyForm();
    void moneyFormIgnoresLocale();
    void plainTextReadsBack_data();
    void plainTextReadsBack();
};

void tst_NumberText::readAmount_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("trailing letters") << "12abc" << 12.0;
    QTest::newRow("thousands comma stops") << "1,000" << 1.0;
    QTest::newRow("leading blank") << " 35" << 35.0;
    QTest::newRow("no zero before point") << "-.5" << -0.5;
    QTest::newRow("hex") << "&H10" << 16.0;
    QTest::newRow("hex lower case") << "&hff" << 255.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("ampersand alone") << "&" << 0.0;
    QTest::newRow("blank inside number") << "1 2.5" << 12.5;
    QTest::newRow("tab and line feed") << "\t1\n0" << 10.0;
    QTest::newRow("blank after sign") << "- 7" << -7.0;
    QTest::newRow("plus sign") << "+4.25" << 4.25;
    QTest::newRow("second point ends") << "1.2.3" << 1.2;
    QTest::newRow("exponent") << "1.5E3" << 1500.0;
    QTest::newRow("D exponent") << "2d2" << 200.0;
    QTest::newRow("negative exponent") << "25e-1" << 2.5;
    QTest::newRow("exponent without digits") << "7E" << 7.0;
    QTest::newRow("exponent sign without digits") << "7e+" << 7.0;
    QTest::newRow("currency sign first") << "$5" << 0.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("carriage return stops") << "1\r2" << 1.0;
    QTest::newRow("non-ASCII digit stops") << QString::fromUtf8("4\xd9\xa3") << 4.0;
    QTest::newRow("plain zero text") << "0.00" << 0.0;
    QTest::newRow("underflow is zero") << "1e-400" << 0.0;
    QTest::newRow("large but in range") << "1.7e308" << 1.7e308;
    QTest::newRow("many leading zeros") << "000000000000000000000000012" << 12.0;
    QTest::newRow("zero with huge exponent") << "0e999999" << 0.0;
    QTest::newRow("small fraction, big exponent") << "0.0001e310" << 1e306;
}

void tst_NumberText::readAmount() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(ReadAmount(text.toStdString()), expected);
}

void tst_NumberText::readAmountOverflows_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("exponent") << "1e309";
    QTest::newRow("negative") << "-2E400";
    QTest::newRow("many digits") << QString(400, QLatin1Char('9'));
    QTest::newRow("huge exponent digits") << "1e99999999999999999999";
    QTest::newRow("hex") << QStringLiteral("&H") + QString(300, QLatin1Char('F'));
}

void tst_NumberText::readAmountOverflows() {
    QFETCH(QString, text);
    try {
        ReadAmount(text.toStdString());
        QFAIL("no error raised");
    } catch (const RuntimeError& error) {
        QCOMPARE(error.number(), int(RuntimeError::Overflow));
    }
}

void tst_NumberText::plainForm_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("whole") << 35.0 << " 35";
    QTest::newRow("negative") << -10.0 << "-10";
    QTest::newRow("zero") << 0.0 << " 0";
    QTest::newRow("negative zero") << -0.0 << " 0";
    QTest::newRow("half") << 0.5 << " .5";
    QTest::newRow("negative quarter") << -0.25 << "-.25";
    QTest::newRow("one decimal") << 47.5 << " 47.5";
    QTest::newRow("12.5") << 12.5 << " 12.5";
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << " .3";
    QTest::newRow("1E16") << 1e16 << " 1E+16";
    QTest::newRow("15 digits stay fixed") << 999999999999999.0 << " 999999999999999";
    QTest::newRow("rounds up into exponent form") << 999999999999999.9 << " 1E+15";
    QTest::newRow("mantissa with decimals") << -1.25e20 << "-1.25E+20";
    QTest::newRow("small fixed") << 0.0001 << " .0001";
    QTest::newRow("small exponent") << 0.00001 << " 1E-05";
    QTest::newRow("three digit exponent") << 1.5e-300 << " 1.5E-300";
    QTest::newRow("largest double") << std::numeric_limits<double>::max() << " 1.79769313486232E+308";
    QTest::newRow("fifteen significant") << 1.0 / 3.0 << " .333333333333333";
    QTest::newRow("no thousands separator") << 1234567.0 << " 1234567";
    // clang-format on
}

void tst_NumberText::plainForm() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(FormatPlainAmount(value)), expected);
}

void tst_NumberText::moneyForm_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << 25.0 << "25.00";
    QTest::newRow("half cent up") << 0.125 << "0.13";
    QTest::newRow("one decimal") << 123.5 << "123.50";
    QTest::newRow("negative") << -2.0 << "-2.00";
    QTest::newRow("below one") << 0.5 << "0.50";
    QTest::newRow("no thousands separator") << 1200.5 << "1200.50";
    QTest::newRow("three") << 3.0 << "3.00";
    QTest::newRow("third") << 1.0 / 3.0 << "0.33";
    QTest::newRow("two thirds") << 2.0 / 3.0 << "0.67";
    QTest::newRow("2.675 as typed") << 2.675 << "2.68";
    QTest::newRow("1.005 as typed") << 1.005 << "1.01";
    QTest::newRow("negative half away from zero") << -0.125 << "-0.13";
    QTest::newRow("tiny negative is zero") << -0.001 << "0.00";
    QTest::newRow("half a cent") << 0.005 << "0.01";
    QTest::newRow("below half a cent") << 0.0049 << "0.00";
    QTest::newRow("zero") << 0.0 << "0.00";
    QTest::newRow("carries into the units") << 9.999 << "10.00";
    QTest::newRow("large") << 123456789012.345 << "123456789012.35";
    // Fifteen digits that end above the cents: the missing places are zeros.
    QTest::newRow("digits end at the tens") << 1.2e13 << "12000000000000.00";
    QTest::newRow("digits end at the units") << -123456789012345.0 << "-123456789012345.00";
    QTest::newRow("beyond cents") << 1e15 << "1000000000000000.00";
}

void tst_NumberText::moneyForm() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(FormatMoneyAmount(value)), expected);
}

void tst_NumberText::moneyFormIgnoresLocale() {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::string text = FormatMoneyAmount(12.5);
    QLocale::setDefault(saved);
    QCOMPARE(QString::fromStdString(text), QStringLiteral("12.50"));
    QCOMPARE(ReadAmount(text), 12.5);
}

void tst_NumberText::plainTextReadsBack_data() {
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << 123456789012345.0;
    QTest::newRow("fraction") << 0.123456789012345;
    QTest::newRow("mixed") << -98765.4321;
    QTest::newRow("exponent form") << 1.23456789012345e100;
    QTest::newRow("small exponent form") << -4.5e-12;
}

void tst_NumberText::plainTextReadsBack() {
    QFETCH(double, value);
    QCOMPARE(ReadAmount(FormatPlainAmount(value)), value);
}

QTEST_APPLESS_MAIN(tst_NumberText)
#include "tst_NumberText.moc"
