#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// The one failure type of the program: a numbered run-time error with a description.
// Handlers let it escape; the guard at the event-handler boundary shows it.
class RuntimeError : public std::runtime_error {
public:
    enum Number : int {
        InvalidArgument = 5,
        Overflow = 6,
        OutOfMemory = 7,
        DivisionByZero = 11,
        Internal = 51,
        FileNotFound = 53,
        DiskFull = 61,
        PermissionDenied = 70,
        PathFileAccess = 75,
        PathNotFound = 76,
        ObjectNotSet = 91,
        ControlArrayElementMissing = 340,
        IndexOutOfBounds = 35600,
    };

    RuntimeError(int number, std::string description);

    int number() const noexcept { return m_number; }
    const std::string& description() const noexcept { return m_description; }

    // The standard description for each of the numbers above.
    static RuntimeError of(Number number);

private:
    int m_number;
    std::string m_description;
};

} // namespace platform
