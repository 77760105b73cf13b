#pragma once

#include <string>
#include <string_view>

// Every amount lives as the text of a field; these three conversions are the only way between
// texts and numbers, so that the same text always reads as the same number and back. Texts are
// UTF-8; only ASCII characters take part in a number.

// The leading number of a text: blanks, tabs and line feeds anywhere are ignored; an optional
// sign, digits with at most one "." and an optional E or D exponent, or an &H / &O integer.
// Reading stops at the first character that cannot continue the number; no number reads as 0.
// Raises the overflow run-time error for a number beyond the range of a double.
double ReadAmount(std::string_view text);

// The plain form: a blank (or "-") in the sign's place, 15 significant digits, trailing zeros
// dropped, no zero before the point, exponent form for very large and very small magnitudes.
std::string FormatPlainAmount(double value);

// The money form "###0.00": at least one integer digit, exactly two decimals rounded half away
// from zero, "." as the decimal point whatever the locale.
std::string FormatMoneyAmount(double value);

// The literal written for nothing: never produced by a conversion.
inline const std::string ZeroAmountText = "0.00";
