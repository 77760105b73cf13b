// ReadAmount on any bytes, and the two forms of what it returns.
#include "calc/NumberText.h"
#include "platform/RuntimeError.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <regex>
#include <string>

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

int significantDigits(std::string_view mantissa) {
    std::string digits;
    for (char c : mantissa)
        if (c >= '0' && c <= '9')
            digits += c;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return 0;
    return int(digits.find_last_not_of('0') - first + 1);
}

void checkPlain(double value) {
    static const std::regex fixed("[ -](?:[1-9][0-9]*(?:\\.[0-9]*[1-9])?|\\.[0-9]*[1-9]|0)");
    static const std::regex exponent("[ -][1-9](?:\\.[0-9]*[1-9])?E[+-][0-9]{2,3}");
    const std::string plain = FormatPlainAmount(value);
    const bool isFixed = std::regex_match(plain, fixed);
    require(isFixed || std::regex_match(plain, exponent));
    const std::size_t end = isFixed ? plain.size() : plain.find('E');
    require(significantDigits(std::string_view(plain).substr(0, end)) <= 15);
    require((plain[0] == '-') == (value < 0));
    // The plain text read back gives the same plain text again, except just below the largest
    // double, whose 15 digits round past it: that text reads as the overflow error.
    try {
        require(FormatPlainAmount(ReadAmount(plain)) == plain);
    } catch (const platform::RuntimeError& error) {
        require(error.number() == platform::RuntimeError::Overflow);
        require(std::fabs(value) > 1.79769313486231e308);
    }
}

void checkMoney(double value) {
    static const std::regex money("-?[0-9]+\\.[0-9]{2}");
    const std::string text = FormatMoneyAmount(value);
    require(std::regex_match(text, money));
    if (std::fabs(value) < 1e15)
        require(std::fabs(ReadAmount(text) - value) <= 0.005 + std::fabs(value) * 1e-14);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
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
