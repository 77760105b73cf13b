#include "calc/NumberText.h"

#include "platform/RuntimeError.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

using platform::RuntimeError;

namespace {

// Walks a text skipping blanks, tabs and line feeds wherever they stand.
class Cursor {
public:
    explicit Cursor(std::string_view text) : m_text(text) {}

    // The next significant character, or 0 at the end (and for any byte of a character outside
    // ASCII, which can never continue a number).
    char peek() {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c != ' ' && c != '\t' && c != '\n')
                return static_cast<unsigned char>(c) < 128 ? c : '\0';
            ++m_pos;
        }
        return '\0';
    }
    void next() { ++m_pos; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitValue(char c, int base) {
    int d = -1;
    if (c >= '0' && c <= '9')
        d = c - '0';
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    return d < base ? d : -1;
}

double readRadixInteger(Cursor& in, int base) {
    double value = 0;
    for (int d; (d = digitValue(in.peek(), base)) >= 0; in.next()) {
        value = value * base + d;
        if (std::isinf(value))
            throw RuntimeError::of(RuntimeError::Overflow);
    }
    return value;
}

// Reads a decimal number into the plain form that from_chars takes ("123.45e-6"), and estimates
// its decimal exponent so that out-of-range results can be told apart (overflow or underflow).
double readDecimal(Cursor& in) {
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-') {
        negative = in.peek() == '-';
        in.next();
    }

    std::string number;
    long long leadingExponent = -1; // position of the first significant digit, as a power of ten
    long long integerDigits = 0;
    bool seenPoint = false, seenDigit = false, seenSignificant = false;
    long long zerosAfterPoint = 0;
    for (char c = in.peek();; c = in.peek()) {
        if (isDigit(c)) {
            seenDigit = true;
            if (!seenPoint)
                ++integerDigits;
            if (c != '0' && !seenSignificant) {
                seenSignificant = true;
                leadingExponent = seenPoint ? -(zerosAfterPoint + 1) : 0;
            }
            if (seenPoint && !seenSignificant)
                ++zerosAfterPoint;
            number.push_back(c);
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            number.push_back(c);
        } else {
            break;
        }
        in.next();
    }
    if (!seenDigit)
        return 0;
    if (seenSignificant && leadingExponent == 0) {
        // Count the integer digits from the first significant one.
        long long leadingZeros = 0;
        while (number[leadingZeros] == '0')
            ++leadingZeros;
        leadingExponent = integerDigits - leadingZeros - 1;
    }

    long long exponent = 0;
    const char e = in.peek();
    if (e == 'E' || e == 'e' || e == 'D' || e == 'd') {
        in.next();
        bool negativeExponent = false;
        if (in.peek() == '+' || in.peek() == '-') {
            negativeExponent = in.peek() == '-';
            in.next();
        }
        bool exponentDigits = false;
        for (char c = in.peek(); isDigit(c); in.next(), c = in.peek()) {
            exponentDigits = true;
            if (exponent < 1'000'000'000) // far beyond any double; saturate
                exponent = exponent * 10 + (c - '0');
        }
        if (exponentDigits) {
            if (negativeExponent)
                exponent = -exponent;
            number += 'e' + std::to_string(exponent);
        }
    }

    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        if (seenSignificant && leadingExponent + exponent > 0)
            throw RuntimeError::of(RuntimeError::Overflow);
        value = 0; // underflow: too small to tell from zero
    }
    return negative ? -value : value;
}

// The 15 significant digits of a magnitude and the power of ten of the first one.
struct Digits {
    std::string digits; // exactly 15
    int exponent;
};

Digits significantDigits(double magnitude) {
    // to_chars, unlike printf, keeps "." whatever locale a front end has set.
    char buffer[40] = {};
    std::to_chars(buffer, buffer + sizeof buffer - 1, magnitude, std::chars_format::scientific, 14);
    // buffer is "d.dddddddddddddde+XX"
    Digits result;
    result.digits.push_back(buffer[0]);
    result.digits.append(buffer + 2, 14);
    result.exponent = std::atoi(buffer + 17);
    return result;
}

} // namespace

double ReadAmount(std::string_view text) {
    Cursor in(text);
    if (in.peek() == '&') {
        in.next();
        const char radix = in.peek();
        if (radix == 'H' || radix == 'h') {
            in.next();
            return readRadixInteger(in, 16);
        }
        if (radix == 'O' || radix == 'o') {
            in.next();
            return readRadixInteger(in, 8);
        }
        return 0;
    }
    return readDecimal(in);
}

std::string FormatPlainAmount(double value) {
    if (value == 0) // negative zero too: a stake of nothing is written as nothing
        return " 0";

    Digits d = significantDigits(std::fabs(value));
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();

    std::string text(1, value < 0 ? '-' : ' ');
    if (d.exponent >= 15 || d.exponent <= -5) {
        text += d.digits[0];
        if (d.digits.size() > 1)
            text += '.' + d.digits.substr(1);
        char exponent[16];
        std::snprintf(exponent, sizeof exponent, "E%c%02d", d.exponent < 0 ? '-' : '+',
                      std::abs(d.exponent));
        text += exponent;
    } else if (d.exponent >= 0) {
        const std::size_t integerDigits = d.exponent + 1;
        if (d.digits.size() <= integerDigits) {
            text += d.digits + std::string(integerDigits - d.digits.size(), '0');
        } else {
            text += d.digits.substr(0, integerDigits) + '.' + d.digits.substr(integerDigits);
        }
    } else {
        text += '.' + std::string(-d.exponent - 1, '0') + d.digits;
    }
    return text;
}

std::string FormatMoneyAmount(double value) {
    const double magnitude = std::fabs(value);
    if (magnitude >= 1e15) {
        // Beyond 15 significant digits there are no cents to round.
        char buffer[400];
        const auto end =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2).ptr;
        return std::string(buffer, end);
    }

    // Round the value as the user sees it (15 significant digits), so that 2.675 gives 2.68
    // although its nearest double lies just below the half.
    long long cents = 0;
    if (magnitude > 0) {
        const Digits d = significantDigits(magnitude);
        const int kept = d.exponent + 3; // digits down to the hundredths
        if (kept >= 0) {
            // All 15 digits lie above the hundredths when the value reaches 1E13; the places
            // below them are zeros.
            for (int i = 0; i < kept; ++i)
                cents = cents * 10 + (i < 15 ? d.digits[i] - '0' : 0);
            if (kept < 15 && d.digits[kept] >= '5')
                ++cents;
        }
    }

    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%s%lld.%02lld", value < 0 && cents != 0 ? "-" : "",
                  cents / 100, cents % 100);
    return buffer;
}
