#include "platform/nix/QtWindow.h"
#include "platform/nix/TextRegistry.h"
#include "tests/support/FormChecks.h"
#include "tests/support/ResultsFolder.h"
#include "tests/support/ServiceDoubles.h"
#include "tests/support/TestEnvironment.h"
#include "ui/about/frmAbout.h"
#include "ui/main/frmMainfrm.h"

#include <QAction>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace {

const QString unavailable = QStringLiteral("System Information Is Unavailable At This Time");
const QString tool = QStringLiteral("C:\\Program Files\\Tools\\MSINFO32.EXE");

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// Help, About in the main window.
frmAbout& chooseAbout() {
    testsupport::resultsInProgramFolder();
    platform::qt::action(frmMainfrm::instance().load().cmdAbout)->trigger();
    frmAbout* box = frmAbout::instance().loaded();
    if (!box)
        qFatal("About did not load the box");
    return *box;
}

QWidget* top(frmAbout& box) {
    return platform::qt::widget(box);
}

QPushButton* button(platform::Control& control) {
    return platform::qt::widget<QPushButton>(control);
}

int aboutWindows() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("frmAbout"))
            ++count;
    return count;
}

void runDeletions() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The launcher's services replaced for a test's lifetime.
struct InstalledServices {
    platform::TextRegistry registry;
    testsupport::RecordingLauncher launcher;
    testsupport::Installed<platform::Registry> installedRegistry{registry};
    testsupport::Installed<platform::ProgramLauncher> installedLauncher{launcher};

    explicit InstalledServices(const QString& toolPath)
        : registry(platform::TextRegistry::fromText(
              toolPath.isEmpty()
                  ? std::string("REGEDIT4\n")
                  : "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared "
                    "Tools\\MSINFO]\n\"PATH\"=\"" +
                        QString(toolPath).replace('\\', "\\\\").toStdString() + "\"\n")) {
        launcher.programs = {toolPath.toStdString()};
    }
};

} // namespace

class tst_frmAbout : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void firstOpening();
    void layoutFollowsTheTable();
    void secondOpeningKeepsTheBox();
    void closing_data();
    void closing();
    void tabGoesBetweenTheButtons();
    void systemInfoStartsTheTool_data();
    void systemInfoStartsTheTool();
    void mainWindowUsableWhileOpen();

private:
    testsupport::TestEnvironment m_environment;
};

void tst_frmAbout::cleanup() {
    testsupport::unloadAllWindows();
}

void tst_frmAbout::firstOpening() {
    frmAbout& box = chooseAbout();
    QWidget* window = top(box);
    QVERIFY(window->isVisible());
    QVERIFY(!window->isModal());
    QVERIFY(!window->parentWidget());
    QCOMPARE(window->minimumSize(), window->maximumSize()); // not resizable
    QCOMPARE(window->windowTitle(), QStringLiteral("About Quorvex"));
    QCOMPARE(q(box.lblTitle.text()), QStringLiteral("Quorvex"));
    QCOMPARE(q(box.lblVersion.text()), QStringLiteral("Version " QUORVEX_VERSION));
}

void tst_frmAbout::layoutFollowsTheTable() {
    QUORVEX_VERIFY_LAYOUT(chooseAbout());
}

void tst_frmAbout::secondOpeningKeepsTheBox() {
    frmAbout& first = chooseAbout();
    first.lblVersion.setText("not reloaded");
    frmAbout& second = chooseAbout();
    QCOMPARE(&second, &first);
    QCOMPARE(aboutWindows(), 1);
    QCOMPARE(q(second.lblVersion.text()), QStringLiteral("not reloaded"));
}

void tst_frmAbout::closing_data() {
    QTest::addColumn<QString>("how");
    for (const char* how : {"OK clicked", "Esc", "Enter on OK", "Enter in the box", "frame closed"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

void tst_frmAbout::closing() {
    QFETCH(QString, how);

    frmAbout& box = chooseAbout();
    QPointer<QWidget> window = top(box);
    box.lblVersion.setText("old box");
    if (how == "OK clicked")
        QTest::mouseClick(button(box.cmdOK), Qt::LeftButton);
    else if (how == "Esc")
        QTest::keyClick(window->focusWidget(), Qt::Key_Escape);
    else if (how == "Enter on OK")
        QTest::keyClick(button(box.cmdOK), Qt::Key_Return);
    else if (how == "Enter in the box")
        QTest::keyClick(window.data(), Qt::Key_Enter);
    else
        window->close();

    QVERIFY(!frmAbout::instance().isLoaded());
    runDeletions();
    QVERIFY(window.isNull());
    QCOMPARE(aboutWindows(), 0);

    frmAbout& fresh = chooseAbout();
    QCOMPARE(q(fresh.lblVersion.text()), QStringLiteral("Version " QUORVEX_VERSION));
    QCOMPARE(top(fresh)->windowTitle(), QStringLiteral("About Quorvex"));
}

void tst_frmAbout::tabGoesBetweenTheButtons() {
    frmAbout& box = chooseAbout();
    QWidget* window = top(box);
    QCOMPARE(window->focusWidget(), button(box.cmdOK));
    QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    QCOMPARE(window->focusWidget(), button(box.cmdSysInfo));
    QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    QCOMPARE(window->focusWidget(), button(box.cmdOK));
}

void tst_frmAbout::systemInfoStartsTheTool_data() {
    QTest::addColumn<QString>("registered"); // empty: nothing registered
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("started");
    QTest::addColumn<QStringList>("messages");

    // clang-format off
    QTest::newRow("clicked") << tool << "click" << QStringList{tool} << QStringList();
    QTest::newRow("Enter on the button") << tool << "enter" << QStringList{tool} << QStringList();
    QTest::newRow("access key") << tool << "alt+s" << QStringList{tool} << QStringList();
    QTest::newRow("nothing registered") << QString() << "click" << QStringList() << QStringList{unavailable};
    // clang-format on
}

void tst_frmAbout::systemInfoStartsTheTool() {
    QFETCH(QString, registered);
    QFETCH(QString, how);
    QFETCH(QStringList, started);
    QFETCH(QStringList, messages);

    InstalledServices services(registered);
    testsupport::FakeMessageBox messageBox;
    frmAbout& box = chooseAbout();
    QPushButton* sysInfo = button(box.cmdSysInfo);
    if (how == "click") {
        QTest::mouseClick(sysInfo, Qt::LeftButton);
    } else if (how == "enter") {
        sysInfo->setFocus();
        QTest::keyClick(sysInfo, Qt::Key_Return);
    } else {
        QVERIFY(QTest::qWaitForWindowActive(top(box)));
        QTest::keyClick(top(box)->focusWidget(), Qt::Key_S, Qt::AltModifier);
    }

    // An access key presses the button visibly, a moment later.
    QTRY_COMPARE(testsupport::toQt(services.launcher.paths), started);
    QTRY_COMPARE(testsupport::toQt(messageBox.okTexts), messages);
    QVERIFY(frmAbout::instance().isVisible());
}

void tst_frmAbout::mainWindowUsableWhileOpen() {
    testsupport::resultsInProgramFolder();
    frmMainfrm& main = frmMainfrm::instance().show();
    QVERIFY(top(chooseAbout())->isVisible());
    QVERIFY(!QApplication::activeModalWidget());

    auto* stake = platform::qt::widget<QLineEdit>(main.txtStakebet);
    stake->selectAll();
    QTest::keyClicks(stake, QStringLiteral("10"));
    QTest::mouseClick(platform::qt::widget(main.cmdCalculate), Qt::LeftButton);
    QCOMPARE(q(main.txtOrigstake.text()), QStringLiteral("10"));
    QVERIFY(frmAbout::instance().isVisible());
}

QUORVEX_TEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
