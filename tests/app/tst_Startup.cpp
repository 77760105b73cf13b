#include "app/Main.h"
#include "platform/ProgramFolder.h"
#include "tests/support/FakeMessageBox.h"
#include "tests/support/TestEnvironment.h"
#include "ui/main/frmMainfrm.h"
#include "ui/options/frmOptions.h"
#include "ui/splash/frmSplash.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class tst_Startup : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sequenceInOrder();
    void previousTotalFromProgramFolder_data();
    void previousTotalFromProgramFolder();
    void savedRunningTotalIsNextPrevious();

private:
    QString resultsFile() const {
        return QDir(platform::programFolder()).filePath("quorvexresults.txt");
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
    const auto previous = platform::replaceWait([&](platform::Deadline) {
        AtPause seen;
        seen.splashVisible = frmSplash::instance().isVisible();
        if (frmSplash* splash = frmSplash::instance().loaded())
            seen.splashVersion = splash->lblVersion->text();
        seen.optionsLoaded = frmOptions::instance().isLoaded();
        seen.optionsVisible = frmOptions::instance().isVisible();
        if (frmOptions* options = frmOptions::instance().loaded())
            seen.folder = options->txtPath->text();
        seen.mainLoaded = frmMainfrm::instance().isLoaded();
        pauses.append(seen);
    });

    Module1::Main();
    platform::replaceWait(previous);

    QCOMPARE(pauses.size(), 1);
    const AtPause& seen = pauses.first();
    QVERIFY(seen.splashVisible);
    QCOMPARE(seen.splashVersion, QStringLiteral("Version 1.1.0"));
    QVERIFY(seen.optionsLoaded);
    QVERIFY(!seen.optionsVisible);
    QCOMPARE(seen.folder, platform::programFolder());
    QVERIFY(!seen.mainLoaded);

    QVERIFY(frmMainfrm::instance().isVisible());
    QVERIFY(!frmSplash::instance().isLoaded());
    QVERIFY(frmOptions::instance().isLoaded());
    QVERIFY(!frmOptions::instance().isVisible());
    QVERIFY(m_box->okTexts.isEmpty());
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
    QTEST(main.txtPrevious->text(), "previous");
    QCOMPARE(main.txtRunning->text(), QStringLiteral("0.00"));
}

void tst_Startup::savedRunningTotalIsNextPrevious() {
    Module1::Main();
    frmMainfrm* main = frmMainfrm::instance().loaded();
    main->txtStakebet->setText(QStringLiteral("10"));
    main->txtLower->setEditText(QStringLiteral("5"));
    main->txtUpper->setEditText(QStringLiteral("2"));
    QTest::mouseClick(main->cmdCalculate, Qt::LeftButton);
    QTest::mouseClick(main->cmdSaveresults, Qt::LeftButton);
    QCOMPARE(m_box->okTexts, QStringList{"Data saved to file!"});

    // The next run.
    testsupport::unloadAllWindows();
    Module1::Main();
    main = frmMainfrm::instance().loaded();
    QCOMPARE(main->txtPrevious->text(), QStringLiteral(" 35"));
    main->txtStakebet->setText(QStringLiteral("10"));
    main->cmbWin->setCurrentIndex(1); // lost
    QTest::mouseClick(main->cmdCalculate, Qt::LeftButton);
    QCOMPARE(main->txtGrandtot->text(), QStringLiteral("-10"));
    QCOMPARE(main->txtRunning->text(), QStringLiteral(" 25"));
}

QUORVEX_TEST_MAIN(tst_Startup)
#include "tst_Startup.moc"
