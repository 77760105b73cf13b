#pragma once

#include "platform/RuntimeError.h"

#include <cmath>

// Floating-point steps that raise a run-time error instead of producing an infinity or a NaN.
namespace platform::checked {

inline double result(double value) {
    if (std::isnan(value))
        throw RuntimeError::of(RuntimeError::InvalidArgument);
    if (std::isinf(value))
        throw RuntimeError::of(RuntimeError::Overflow);
    return value;
}

inline double add(double a, double b) {
    return result(a + b);
}
inline double multiply(double a, double b) {
    return result(a * b);
}
inline double negate(double a) {
    return result(-a);
}

inline double divide(double dividend, double divisor) {
    if (divisor == 0.0)
        throw RuntimeError::of(RuntimeError::DivisionByZero);
    return result(dividend / divisor);
}

} // namespace platform::checked
