#include "platform/CheckedMath.h"
#include "platform/Pause.h"
#include "platform/RuntimeError.h"
#include "platform/nix/NativePath.h"

#include <QTest>

#include <limits>
#include <vector>

using platform::RuntimeError;
namespace checked = platform::checked;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(std::string)

class tst_PlatformCore : public QObject {
    Q_OBJECT
private slots:
    void checkedMathRaises_data();
    void checkedMathRaises();
    void slashPath_data();
    void slashPath();
    void pacerSpreadsStepsOverTheTotal();
};

void tst_PlatformCore::checkedMathRaises_data() {
    constexpr double max = std::numeric_limits<double>::max();
    QTest::addColumn<int>("operation"); // 0 add, 1 multiply, 2 divide
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<int>("error"); // 0 for none
    QTest::addColumn<double>("result");
    // clang-format off
    QTest::newRow("add") << 0 << 1.5 << 2.0 << 0 << 3.5;
    QTest::newRow("add overflows") << 0 << max << max << int(RuntimeError::Overflow) << 0.0;
    QTest::newRow("multiply overflows") << 1 << 1e200 << 1e200 << int(RuntimeError::Overflow) << 0.0;
    QTest::newRow("divide") << 2 << 10.0 << 4.0 << 0 << 2.5;
    QTest::newRow("divide by zero") << 2 << 10.0 << 0.0 << int(RuntimeError::DivisionByZero) << 0.0;
    QTest::newRow("zero by zero") << 2 << 0.0 << 0.0 << int(RuntimeError::DivisionByZero) << 0.0;
    QTest::newRow("divide by negative zero") << 2 << 1.0 << -0.0 << int(RuntimeError::DivisionByZero) << 0.0;
    QTest::newRow("divide overflows") << 2 << 1e300 << 1e-300 << int(RuntimeError::Overflow) << 0.0;
    // clang-format on
}

void tst_PlatformCore::checkedMathRaises() {
    QFETCH(int, operation);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(int, error);
    int raised = 0;
    double result = 0;
    try {
        result = operation == 0   ? checked::add(a, b)
                 : operation == 1 ? checked::multiply(a, b)
                                  : checked::divide(a, b);
    } catch (const RuntimeError& e) {
        raised = e.number();
    }
    QCOMPARE(raised, error);
    if (!error)
        QTEST(result, "result");
}

void tst_PlatformCore::slashPath_data() {
    QTest::addColumn<QString>("programPath");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("drive root file") << "c:\\\\quorvexresults.txt" << "/quorvexresults.txt";
    QTest::newRow("unix folder") << "/home/me/bets\\quorvexresults.txt" << "/home/me/bets/quorvexresults.txt";
    QTest::newRow("upper-case drive") << "C:\\Program Files\\Tool\\MSINFO32.EXE" << "/Program Files/Tool/MSINFO32.EXE";
    QTest::newRow("drive without separator") << "d:bets" << "/bets";
    QTest::newRow("repeated separators fold") << "/a//b\\\\c" << "/a/b/c";
    QTest::newRow("relative stays relative") << "bets\\file" << "bets/file";
    QTest::newRow("colon later is kept") << "/x/a:b" << "/x/a:b";
    QTest::newRow("empty") << "" << "";
    // clang-format on
}

void tst_PlatformCore::slashPath() {
    QFETCH(QString, programPath);
    QTEST(QString::fromStdString(platform::slashPath(programPath.toStdString())), "expected");
}

void tst_PlatformCore::pacerSpreadsStepsOverTheTotal() {
    // Notes the deadlines instead of waiting for them.
    struct Recorder : platform::Waiter {
        std::vector<platform::Deadline> deadlines;
        void waitUntil(platform::Deadline deadline) override { deadlines.push_back(deadline); }
    } recorder;
    platform::Waiter* const previous = platform::Waiter::install(&recorder);
    platform::StepPacer pacer(750ms, 3);
    for (int step = 0; step < 3; ++step)
        pacer.waitAfter(step);
    platform::Waiter::install(previous);

    const std::vector<platform::Deadline>& deadlines = recorder.deadlines;
    QCOMPARE(deadlines.size(), std::size_t(3));
    QCOMPARE(deadlines[1] - deadlines[0], std::chrono::steady_clock::duration(250ms));
    QCOMPARE(deadlines[2] - deadlines[0], std::chrono::steady_clock::duration(500ms));
}

QTEST_APPLESS_MAIN(tst_PlatformCore)
#include "tst_PlatformCore.moc"
