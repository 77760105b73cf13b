#pragma once

#include "tests/support/ServiceDoubles.h"

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace testsupport {

// The program's end and pauses replaced for its lifetime, as QuietProgram does, the program's
// folder an empty one of its own (suites run side by side, and a results file beside the test
// programs would pass from one to another), and the offscreen platform's warnings about what it
// cannot do kept out of the test log.
class TestEnvironment : public QuietProgram {
public:
    TestEnvironment();

private:
    QTemporaryDir m_folder;
    ProgramFolderAt m_programFolder;
};

// Texts the doubles recorded, for comparing in Qt Test.
QStringList toQt(const std::vector<std::string>& texts);

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
