#pragma once

#include "platform/Pause.h"
#include "platform/ProgramEnd.h"

#include <QApplication>
#include <QTest>

namespace testsupport {

// Replaces the program's end with a counter and the pauses with nothing, for its lifetime.
class TestEnvironment : private platform::ProgramEnd, private platform::Waiter {
public:
    TestEnvironment();
    ~TestEnvironment() override;
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    int programEnds = 0;
    int waits = 0;

private:
    void endProgram() override { ++programEnds; }
    void waitUntil(platform::Deadline) override { ++waits; }

    platform::ProgramEnd* m_previousEnd;
    platform::Waiter* m_previousWait;
};

// Offscreen unless the caller chose a platform.
void useOffscreenUnlessSet();

// Destroys every window instance and runs pending deletions, so that each test starts afresh.
void unloadAllWindows();

} // namespace testsupport

// A Qt Test main for tests that need windows.
#define QUORVEX_TEST_MAIN(TestObject)                                                              \
    int main(int argc, char* argv[]) {                                                             \
        testsupport::useOffscreenUnlessSet();                                                      \
        QApplication application(argc, argv);                                                      \
        application.setQuitOnLastWindowClosed(false);                                              \
        TestObject test;                                                                           \
        const int status = QTest::qExec(&test, argc, argv);                                        \
        testsupport::unloadAllWindows();                                                           \
        return status;                                                                             \
    }
