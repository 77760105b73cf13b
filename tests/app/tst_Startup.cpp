#include "app/Startup.h"
#include "platform/Pause.h"
#include "platform/ProgramFolder.h"
#include "platform/RuntimeError.h"
#include "platform/nix/QtWindow.h"
#include "tests/support/ServiceDoubles.h"
#include "tests/support/TestEnvironment.h"
#include "ui/main/frmMainfrm.h"
#include "ui/options/frmOptions.h"
#include "ui/splash/frmSplash.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>

#include <functional>

namespace {

// Looks at the windows when start-up waits, instead of waiting.
class WatchingWaiter : public platform::Waiter {
public:
    explicit WatchingWaiter(std::function<void()> look)
        : m_look(std::move(look)), m_previous(platform::Waiter::install(this)) {}
    ~WatchingWaiter() override { platform::Waiter::install(m_previous); }
    void waitUntil(platform::Deadline) override { m_look(); }

private:
    std::function<void()> m_look;
    platform::Waiter* m_previous;
};

// Asks the window system to close a window as soon as it is shown, as a window manager may.
class CloseOnShow : public QObject {
public:
    explicit CloseOnShow(const char* name) : m_name(name) { qApp->installEventFilter(this); }
    ~CloseOnShow() override { qApp->removeEventFilter(this); }
    bool posted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!posted && event->type() == QEvent::Show && widget && widget->isWindow() &&
            widget->objectName() == QLatin1String(m_name) && widget->windowHandle()) {
            QCoreApplication::postEvent(widget->windowHandle(), new QCloseEvent);
            posted = true;
        }
        return false;
    }

private:
    const char* m_name;
};

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// Clicks into a field, selects what it holds and types over it.
void typeInto(platform::Control& field, const QString& text) {
    QWidget* widget = platform::qt::widget(field);
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        widget = combo->lineEdit();
    QTest::mouseClick(widget, Qt::LeftButton);
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(widget, text);
}

void click(platform::Control& button) {
    QTest::mouseClick(platform::qt::widget(button), Qt::LeftButton);
}

} // namespace

class tst_Startup : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sequenceInOrder();
    void closeToTheSplashWhileItIsShown();
    void previousTotalFromProgramFolder_data();
    void previousTotalFromProgramFolder();
    void savedRunningTotalIsNextPrevious();
    void errorInStartUpIsShownAndMainWindowComes_data();
    void errorInStartUpIsShownAndMainWindowComes();
    void qtOptionsOnTheCommandLineAreNotTaken();
    void windowSystemFailureInOneLineAndStatus1_data();
    void windowSystemFailureInOneLineAndStatus1();

private:
    QString resultsFile() const {
        return QDir(q(platform::programFolder())).filePath("quorvexresults.txt");
    }

    testsupport::FakeMessageBox* m_box = nullptr;
    testsupport::TestEnvironment* m_env = nullptr;
};

void tst_Startup::init() {
    m_box = new testsupport::FakeMessageBox;
    m_env = new testsupport::TestEnvironment;
    QFile::remove(resultsFile());
}

void tst_Startup::cleanup() {
    testsupport::unloadAllWindows();
    QFile::remove(resultsFile());
    delete m_env;
    delete m_box;
}

void tst_Startup::sequenceInOrder() {
    struct AtPause {
        bool splashVisible = false;
        QString splashVersion;
        bool optionsLoaded = false;
        bool optionsVisible = true;
        QString folder;
        bool mainLoaded = true;
    };
    QList<AtPause> pauses;
    {
        WatchingWaiter watcher([&] {
            AtPause seen;
            seen.splashVisible = frmSplash::instance().isVisible();
            if (frmSplash* splash = frmSplash::instance().loaded())
                seen.splashVersion = q(splash->lblVersion.text());
            seen.optionsLoaded = frmOptions::instance().isLoaded();
            seen.optionsVisible = frmOptions::instance().isVisible();
            if (frmOptions* options = frmOptions::instance().loaded())
                seen.folder = q(options->txtPath.text());
            seen.mainLoaded = frmMainfrm::instance().isLoaded();
            pauses.append(seen);
        });
        Module1::Main();
    }

    QCOMPARE(pauses.size(), 1);
    const AtPause& seen = pauses.first();
    QVERIFY(seen.splashVisible);
    QCOMPARE(seen.splashVersion, QStringLiteral("Version " QUORVEX_VERSION));
    QVERIFY(seen.optionsLoaded);
    QVERIFY(!seen.optionsVisible);
    QCOMPARE(seen.folder, q(platform::programFolder()));
    QVERIFY(!seen.mainLoaded);

    QVERIFY(frmMainfrm::instance().isVisible());
    QVERIFY(!frmSplash::instance().isLoaded());
    QVERIFY(frmOptions::instance().isLoaded());
    QVERIFY(!frmOptions::instance().isVisible());
    QVERIFY(m_box->okTexts.empty());
}

// The close comes while start-up shows and draws the splash: the splash goes once that is over,
// and start-up goes on to the main window.
void tst_Startup::closeToTheSplashWhileItIsShown() {
    CloseOnShow closer("frmSplash");
    bool splashAtPause = true;
    {
        WatchingWaiter watcher([&] { splashAtPause = frmSplash::instance().isLoaded(); });
        Module1::Main();
    }
    QVERIFY(closer.posted);
    QVERIFY(!splashAtPause);
    QVERIFY(frmMainfrm::instance().isVisible());
    QVERIFY(!frmSplash::instance().isLoaded());
}

void tst_Startup::previousTotalFromProgramFolder_data() {
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<QString>("previous");
    QTest::newRow("no results file") << false << "";
    QTest::newRow("saved running total") << true << " 35";
}

void tst_Startup::previousTotalFromProgramFolder() {
    QFETCH(bool, fileThere);
    if (fileThere) {
        QFile file(resultsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\" 35\"\r\n");
    }
    Module1::Main();
    frmMainfrm& main = *frmMainfrm::instance().loaded();
    QTEST(q(main.txtPrevious.text()), "previous");
    QCOMPARE(q(main.txtRunning.text()), QStringLiteral("0.00"));
}

void tst_Startup::savedRunningTotalIsNextPrevious() {
    Module1::Main();
    frmMainfrm* main = frmMainfrm::instance().loaded();
    typeInto(main->txtStakebet, QStringLiteral("10"));
    typeInto(main->txtLower, QStringLiteral("5"));
    typeInto(main->txtUpper, QStringLiteral("2"));
    click(main->cmdCalculate);
    click(main->cmdSaveresults);
    QCOMPARE(testsupport::toQt(m_box->okTexts), QStringList{"Data saved to file!"});

    // The next run.
    testsupport::unloadAllWindows();
    Module1::Main();
    main = frmMainfrm::instance().loaded();
    QCOMPARE(q(main->txtPrevious.text()), QStringLiteral(" 35"));
    typeInto(main->txtStakebet, QStringLiteral("10"));
    QTest::keyClick(platform::qt::widget(main->cmbWin), Qt::Key_Down); // from Yes to No: lost
    click(main->cmdCalculate);
    QCOMPARE(q(main->txtGrandtot.text()), QStringLiteral("-10"));
    QCOMPARE(q(main->txtRunning.text()), QStringLiteral(" 25"));
}

void tst_Startup::errorInStartUpIsShownAndMainWindowComes_data() {
    QTest::addColumn<int>("number");
    QTest::newRow("run-time error") << int(platform::RuntimeError::Overflow);
    QTest::newRow("out of memory") << int(platform::RuntimeError::OutOfMemory);
}

// An error in the start-up pause stands for any error of start-up: nothing there may end the
// program silently.
void tst_Startup::errorInStartUpIsShownAndMainWindowComes() {
    QFETCH(int, number);
    {
        WatchingWaiter failing([number] {
            if (number == platform::RuntimeError::OutOfMemory)
                throw std::bad_alloc();
            throw platform::RuntimeError::of(platform::RuntimeError::Overflow);
        });
        Module1::Start();
    }
    QCOMPARE(m_box->okTexts.size(), std::size_t(1));
    QVERIFY(testsupport::toQt(m_box->okTexts)
                .first()
                .startsWith(QStringLiteral("Run-time error '%1':").arg(number)));
    QVERIFY(frmMainfrm::instance().isVisible());
    QVERIFY(!frmSplash::instance().isLoaded());
    QCOMPARE(q(frmOptions::instance().load().txtPath.text()), q(platform::programFolder()));
}

// The program reads no command line: an option Qt would take, here one that names no platform
// at all, must not stop it from starting.
void tst_Startup::qtOptionsOnTheCommandLineAreNotTaken() {
    QTemporaryDir dir;
    const QString trace = dir.filePath(QStringLiteral("trace"));
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QUORVEX_STARTUP_TRACE"), trace);
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(dir.path());
    // Started from a folder of its own: it reads the results file beside itself.
    const QString copy = dir.filePath(QStringLiteral("quorvex"));
    QVERIFY(QFile::copy(QStringLiteral(QUORVEX_PROGRAM), copy));
    program.start(copy, {QStringLiteral("-platform"), QStringLiteral("no-such-platform"),
                         QStringLiteral("-reverse")});
    QVERIFY(program.waitForStarted());
    const auto started = [&] {
        QFile file(trace);
        return file.open(QIODevice::ReadOnly) && file.readAll().contains("pause-ended");
    };
    QTRY_VERIFY_WITH_TIMEOUT(started() || program.state() == QProcess::NotRunning, 20000);
    const bool running = program.state() == QProcess::Running;
    program.kill();
    program.waitForFinished();
    QVERIFY2(running, program.readAllStandardError().constData());
}

void tst_Startup::windowSystemFailureInOneLineAndStatus1_data() {
    QTest::addColumn<QStringList>("settings"); // with neither a display nor a platform otherwise
    QTest::addColumn<QString>("why");
    const QString brokenX = QStringLiteral("LD_LIBRARY_PATH=<a broken library of the X plugin>");
    // clang-format off
    QTest::newRow("no X display") << QStringList{} << "no X display (DISPLAY is not set)";
    QTest::newRow("no X server there") << QStringList{"DISPLAY=:4711"} << "no X display at DISPLAY=:4711";
    QTest::newRow("wayland asked for, none there") << QStringList{"QT_QPA_PLATFORM=wayland"} << "QT_QPA_PLATFORM=wayland cannot be used: ";
    QTest::newRow("X plugin unable to load") << QStringList{"DISPLAY=:4711", brokenX} << "libxcb-icccm.so.4: file too short";
    QTest::newRow("X asked for, its plugin unable to load") << QStringList{"QT_QPA_PLATFORM=xcb", "DISPLAY=:4711", brokenX} << "libxcb-icccm.so.4: file too short";
    // clang-format on
}

// Said in one line, and ended with status 1 rather than by an abort: "no display" only where
// there is none, any other failure as the window system gives it.
void tst_Startup::windowSystemFailureInOneLineAndStatus1() {
    QFETCH(QStringList, settings);
    QFETCH(QString, why);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QTemporaryDir runtime;
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    QFile broken(runtime.filePath(QStringLiteral("libxcb-icccm.so.4")));
    QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("not a library") > 0);
    broken.close();
    for (const QString& setting : settings) {
        const QString value = setting.section(u'=', 1);
        environment.insert(setting.section(u'=', 0, 0),
                           value.startsWith(u'<') ? runtime.path() : value);
    }
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QUORVEX_PROGRAM), {});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    const QStringList lines =
        QString::fromLocal8Bit(program.readAll() + program.readAllStandardError())
            .split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.front().contains(why), qPrintable(lines.front()));
}

QUORVEX_TEST_MAIN(tst_Startup)
#include "tst_Startup.moc"
