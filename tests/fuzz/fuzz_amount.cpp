// ReadAmount on any bytes, and the two forms of what it returns.
#include "calc/NumberText.h"
#include "platform/RuntimeError.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

int significantDigits(QStringView mantissa) {
    QString digits;
    for (QChar c : mantissa)
        if (c.isDigit())
            digits += c;
    while (digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    while (digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    return int(digits.size());
}

void checkPlain(double value) {
    static const QRegularExpression fixed(
        QStringLiteral("^[ -](?:[1-9][0-9]*(?:\\.[0-9]*[1-9])?|\\.[0-9]*[1-9]|0)$"));
    static const QRegularExpression exponent(
        QStringLiteral("^[ -][1-9](?:\\.[0-9]*[1-9])?E[+-][0-9]{2,3}$"));
    const QString plain = FormatPlainAmount(value);
    const bool isFixed = fixed.match(plain).hasMatch();
    require(isFixed || exponent.match(plain).hasMatch());
    const qsizetype end = isFixed ? plain.size() : plain.indexOf(QLatin1Char('E'));
    require(significantDigits(QStringView(plain).left(end)) <= 15);
    require((plain[0] == QLatin1Char('-')) == (value < 0));
    // The plain text read back gives the same plain text again.
    require(FormatPlainAmount(ReadAmount(plain)) == plain);
}

void checkMoney(double value) {
    static const QRegularExpression money(QStringLiteral("^-?[0-9]+\\.[0-9]{2}$"));
    const QString text = FormatMoneyAmount(value);
    require(money.match(text).hasMatch());
    if (std::fabs(value) < 1e15)
        require(std::fabs(ReadAmount(text) - value) <= 0.005 + std::fabs(value) * 1e-14);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    double value;
    try {
        value = ReadAmount(text);
    } catch (const platform::RuntimeError& error) {
        require(error.number() == platform::RuntimeError::Overflow);
        return 0;
    }
    require(std::isfinite(value));
    checkPlain(value);
    checkMoney(value);
    return 0;
}
