#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

// A small test runner for the Windows build, where Qt Test is not at hand: named test functions,
// checks that report a failure and carry on, and a closing line "N passed, N failed". A test
// passes when none of its checks failed and nothing escaped it.
namespace wintest {

struct Registration {
    Registration(const char* name, void (*function)());
};

void fail(const char* file, int line, const std::string& what);

// Names the table row that the failures while it lives belong to.
class Row {
public:
    explicit Row(std::string name);
    ~Row();
    Row(const Row&) = delete;
    Row& operator=(const Row&) = delete;

private:
    std::string m_previous;
};

// A value as a failure message shows it: texts quoted, with their size and unprintable bytes
// and quotes as \xNN.
std::string describe(const std::string& text);
inline std::string describe(const char* text) {
    return describe(std::string(text));
}
std::string describe(const std::vector<std::string>& texts);
template <typename T> std::string describe(const T& value) {
    std::ostringstream out;
    out << value;
    // Masks, handles and error codes read best in hexadecimal too.
    if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>)
        out << " (0x" << std::hex << static_cast<std::uint64_t>(value) << ")";
    return out.str();
}

template <typename A, typename B>
void checkEqual(const A& actual, const B& expected, const char* actualText,
                const char* expectedText, const char* file, int line) {
    if (!(actual == expected))
        fail(file, line,
             std::string(actualText) + " == " + expectedText +
                 "\n    actual:   " + describe(actual) + "\n    expected: " + describe(expected));
}

} // namespace wintest

#define WINTEST_CASE(name)                                                                         \
    static void name();                                                                            \
    static const ::wintest::Registration name##Registration(#name, name);                          \
    static void name()

#define CHECK(condition)                                                                           \
    ((condition) ? void() : ::wintest::fail(__FILE__, __LINE__, "CHECK(" #condition ")"))

#define CHECK_EQUAL(actual, expected)                                                              \
    ::wintest::checkEqual((actual), (expected), #actual, #expected, __FILE__, __LINE__)
