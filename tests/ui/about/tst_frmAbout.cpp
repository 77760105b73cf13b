#include "tests/support/FakeMessageBox.h"
#include "tests/support/TestEnvironment.h"
#include "tests/ui/about/SysInfoDoubles.h"
#include "ui/about/frmAbout.h"
#include "ui/main/frmMainfrm.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace {

const QString unavailable = QStringLiteral("System Information Is Unavailable At This Time");
const QString tool = QStringLiteral("C:\\Program Files\\Tools\\MSINFO32.EXE");

frmAbout* chooseAbout() {
    frmMainfrm::instance().load().cmdAbout->trigger();
    return frmAbout::instance().loaded();
}

int aboutWindows() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<frmAbout*>(window))
            ++count;
    return count;
}

void runDeletions() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The launcher's services replaced for a test's lifetime.
struct InstalledServices {
    sysinfotest::RecordingRegistry registry;
    sysinfotest::RecordingLauncher launcher;

    explicit InstalledServices(const QString& toolPath)
        : registry(toolPath.isEmpty()
                       ? std::string("REGEDIT4\n")
                       : "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared "
                         "Tools\\MSINFO]\n\"PATH\"=\"" +
                             QString(toolPath).replace('\\', "\\\\").toStdString() + "\"\n") {
        launcher.programs = {toolPath};
        platform::Registry::install(&registry);
        platform::ProgramLauncher::install(&launcher);
    }
    ~InstalledServices() {
        platform::Registry::install(nullptr);
        platform::ProgramLauncher::install(nullptr);
    }
};

} // namespace

class tst_frmAbout : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void textsAfterLoad_data();
    void textsAfterLoad();
    void secondOpeningKeepsTheBox();
    void closing_data();
    void closing();
    void tabGoesBetweenTheButtons();
    void systemInfoStartsTheTool_data();
    void systemInfoStartsTheTool();
    void mainWindowUsableWhileOpen();
};

void tst_frmAbout::cleanup() {
    testsupport::unloadAllWindows();
}

void tst_frmAbout::textsAfterLoad_data() {
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("version");

    QTest::newRow("this program") << 1 << 1 << 0 << "Version 1.1.0";
    QTest::newRow("no padding") << 1 << 5 << 12 << "Version 1.5.12";
    QTest::newRow("large numbers") << 10 << 0 << 305 << "Version 10.0.305";
}

void tst_frmAbout::textsAfterLoad() {
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, version);

    frmAbout box;
    QCOMPARE(box.windowTitle(), QStringLiteral("About MyApp"));
    QCOMPARE(box.lblTitle->text(), QStringLiteral("Application Title"));
    QCOMPARE(box.lblVersion->text(), QStringLiteral("Version"));
    box.Form_Load({major, minor, revision});
    QCOMPARE(box.windowTitle(), QStringLiteral("About Quorvex"));
    QCOMPARE(box.lblTitle->text(), QStringLiteral("Quorvex"));
    QCOMPARE(box.lblVersion->text(), version);
}

void tst_frmAbout::secondOpeningKeepsTheBox() {
    frmAbout* first = chooseAbout();
    QVERIFY(first->isVisible() && !first->isModal() && !first->parentWidget());
    QCOMPARE(first->lblVersion->text(), QStringLiteral("Version 1.1.0"));
    QCOMPARE(first->minimumSize(), first->maximumSize()); // not resizable
    first->lblVersion->setText(QStringLiteral("not reloaded"));
    frmAbout* second = chooseAbout();
    QCOMPARE(second, first);
    QCOMPARE(aboutWindows(), 1);
    QCOMPARE(second->lblVersion->text(), QStringLiteral("not reloaded"));
}

void tst_frmAbout::closing_data() {
    QTest::addColumn<QString>("how");
    for (const char* how : {"OK clicked", "Esc", "Enter on OK", "Enter in the box", "frame closed"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

void tst_frmAbout::closing() {
    QFETCH(QString, how);

    QPointer<frmAbout> box = chooseAbout();
    box->lblVersion->setText(QStringLiteral("old box"));
    if (how == "OK clicked")
        QTest::mouseClick(box->cmdOK, Qt::LeftButton);
    else if (how == "Esc")
        QTest::keyClick(box->focusWidget(), Qt::Key_Escape);
    else if (how == "Enter on OK")
        QTest::keyClick(box->cmdOK, Qt::Key_Return);
    else if (how == "Enter in the box")
        QTest::keyClick(box.data(), Qt::Key_Enter);
    else
        QVERIFY(box->close());

    QVERIFY(!frmAbout::instance().isLoaded());
    runDeletions();
    QVERIFY(box.isNull());
    QCOMPARE(aboutWindows(), 0);

    frmAbout* fresh = chooseAbout();
    QCOMPARE(fresh->lblVersion->text(), QStringLiteral("Version 1.1.0"));
    QCOMPARE(fresh->windowTitle(), QStringLiteral("About Quorvex"));
}

void tst_frmAbout::tabGoesBetweenTheButtons() {
    frmAbout* box = chooseAbout();
    QCOMPARE(box->focusWidget(), box->cmdOK);
    QTest::keyClick(box->focusWidget(), Qt::Key_Tab);
    QCOMPARE(box->focusWidget(), box->cmdSysInfo);
    QTest::keyClick(box->focusWidget(), Qt::Key_Tab);
    QCOMPARE(box->focusWidget(), box->cmdOK);
}

void tst_frmAbout::systemInfoStartsTheTool_data() {
    QTest::addColumn<QString>("registered"); // empty: nothing registered
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("started");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("clicked") << tool << "click" << QStringList{tool} << QStringList();
    QTest::newRow("Enter on the button") << tool << "enter" << QStringList{tool} << QStringList();
    QTest::newRow("access key") << tool << "alt+s" << QStringList{tool} << QStringList();
    QTest::newRow("nothing registered")
        << QString() << "click" << QStringList() << QStringList{unavailable};
}

void tst_frmAbout::systemInfoStartsTheTool() {
    QFETCH(QString, registered);
    QFETCH(QString, how);
    QFETCH(QStringList, started);
    QFETCH(QStringList, messages);

    InstalledServices services(registered);
    testsupport::FakeMessageBox messageBox;
    frmAbout* box = chooseAbout();
    if (how == "click") {
        QTest::mouseClick(box->cmdSysInfo, Qt::LeftButton);
    } else if (how == "enter") {
        box->cmdSysInfo->setFocus();
        QTest::keyClick(box->cmdSysInfo, Qt::Key_Return);
    } else {
        QVERIFY(QTest::qWaitForWindowActive(box));
        QTest::keyClick(box->focusWidget(), Qt::Key_S, Qt::AltModifier);
    }

    // An access key presses the button visibly, a moment later.
    QTRY_COMPARE(services.launcher.started, started);
    QTRY_COMPARE(messageBox.okTexts, messages);
    QVERIFY(frmAbout::instance().isVisible());
}

void tst_frmAbout::mainWindowUsableWhileOpen() {
    testsupport::TestEnvironment environment;
    frmMainfrm& main = frmMainfrm::instance().show();
    frmAbout* box = chooseAbout();
    QVERIFY(box->isVisible());
    QVERIFY(!QApplication::activeModalWidget());

    main.txtStakebet->clear();
    QTest::keyClicks(main.txtStakebet, QStringLiteral("10"));
    QTest::mouseClick(main.cmdCalculate, Qt::LeftButton);
    QCOMPARE(main.txtOrigstake->text(), QStringLiteral("10"));
    QVERIFY(frmAbout::instance().isVisible());
}

QUORVEX_TEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
