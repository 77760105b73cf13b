#include "tests/windows/TestHarness.h"

#include <cstdio>
#include <exception>
#include <vector>

namespace wintest {

namespace {

struct Test {
    const char* name;
    void (*function)();
};

std::vector<Test>& tests() {
    static std::vector<Test> all;
    return all;
}

std::string currentTest;
std::string currentRow;
int failures = 0;

} // namespace

Registration::Registration(const char* name, void (*function)()) {
    tests().push_back({name, function});
}

void fail(const char* file, int line, const std::string& what) {
    ++failures;
    std::printf("  FAIL %s%s%s at %s:%d\n    %s\n", currentTest.c_str(),
                currentRow.empty() ? "" : " / ", currentRow.c_str(), file, line, what.c_str());
}

Row::Row(std::string name) : m_previous(std::move(currentRow)) {
    currentRow = std::move(name);
}

Row::~Row() {
    currentRow = std::move(m_previous);
}

std::string describe(const std::string& text) {
    constexpr std::size_t shown = 80;
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size() && i < shown; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c >= 0x7f || c == '"') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += text.size() > shown ? "\"..." : "\"";
    return out + " (" + std::to_string(text.size()) + " bytes)";
}

std::string describe(const std::vector<std::string>& texts) {
    std::string out = "{";
    for (const std::string& text : texts)
        out += (out.size() > 1 ? ", " : "") + describe(text);
    return out + "}";
}

} // namespace wintest

// Runs every test, or those named on the command line.
int main(int argc, char** argv) {
    using namespace wintest;
    int passed = 0, failed = 0;
    for (const Test& test : tests()) {
        bool chosen = argc < 2;
        for (int i = 1; i < argc; ++i)
            chosen = chosen || std::string(argv[i]) == test.name;
        if (!chosen)
            continue;
        currentTest = test.name;
        currentRow.clear();
        const int before = failures;
        try {
            test.function();
        } catch (const std::exception& error) {
            fail(__FILE__, __LINE__, std::string("escaped: ") + error.what());
        } catch (...) {
            fail(__FILE__, __LINE__, "escaped: an exception of unknown type");
        }
        const bool ok = failures == before;
        std::printf("%s %s\n", ok ? "PASS" : "FAIL", test.name);
        ++(ok ? passed : failed);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    return failed == 0 && passed > 0 ? 0 : 1;
}
