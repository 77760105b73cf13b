#include "calc/NumberText.h"
#include "platform/qt/Twips.h"
#include "tests/support/FakeMessageBox.h"
#include "tests/support/TestEnvironment.h"
#include "ui/main/frmMainfrm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>

namespace twips = platform::twips;

class tst_frmMainfrm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstAppearance();
    void controlsAtTheirPlaces_data();
    void controlsAtTheirPlaces();
    void maximizeKeepsPlaces();
    void tabOrder();
    void calculateByKeyboardAndMouse_data();
    void calculateByKeyboardAndMouse();
    void horseRunsAndIsPaced();
    void errorIsShownAndProgramGoesOn_data();
    void errorIsShownAndProgramGoesOn();
    void reset_data();
    void reset();
    void exitEndsProgram();
    void closeButtonEndsProgram();
    void menuAccessKeys();

private:
    frmMainfrm& shown();

    testsupport::FakeMessageBox* m_box = nullptr;
    testsupport::TestEnvironment* m_env = nullptr;
};

void tst_frmMainfrm::init() {
    m_box = new testsupport::FakeMessageBox;
    m_env = new testsupport::TestEnvironment;
}

void tst_frmMainfrm::cleanup() {
    testsupport::unloadAllWindows();
    delete m_env;
    delete m_box;
}

frmMainfrm& tst_frmMainfrm::shown() {
    frmMainfrm& window = frmMainfrm::instance().show();
    if (!QTest::qWaitForWindowActive(&window))
        qWarning("window did not become active");
    return window;
}

void tst_frmMainfrm::firstAppearance() {
    frmMainfrm& w = shown();
    QCOMPARE(w.windowTitle(), QStringLiteral("Tollick's Results"));
    QVERIFY(!w.lbl1win->isVisible());
    QVERIFY(!w.lblLose->isVisible());
    QCOMPARE(w.cmbWin->currentText(), QStringLiteral("Yes"));
    QCOMPARE(w.cmbWin->count(), 2);
    QCOMPARE(w.cmbWin->itemText(1), QStringLiteral("No"));
    for (QLineEdit* amount :
         {w.txtStakebet, w.txtWinnings, w.txtOrigstake, w.txtTotal, w.txtGrandtot, w.txtRunning})
        QCOMPARE(amount->text(), QStringLiteral("0.00"));
    QCOMPARE(w.txtLower->currentText(), QStringLiteral("1"));
    QCOMPARE(w.txtUpper->currentText(), QStringLiteral("1"));
    QCOMPARE(w.txtLower->count(), 0);
    QVERIFY(!w.chkOdds->isChecked());
    QCOMPARE(QApplication::focusWidget(), w.txtStakebet);
    QCOMPARE(w.txtStakebet->toolTip(), QStringLiteral("Enter your stake here"));
    QCOMPARE(w.cmdCalculate->toolTip(), QStringLiteral("Click here to see your results"));
    QCOMPARE(w.cmdReset->toolTip(), QStringLiteral("Click here to reset"));
    QCOMPARE(w.centralWidget()->size(), QSize(840, 445));
}

void tst_frmMainfrm::controlsAtTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twipsRect");
    QTest::newRow("Stake") << "Stake" << QRect(240, 550, 1335, 495);
    QTest::newRow("lblPlusStake") << "lblPlusStake" << QRect(9360, 555, 1095, 855);
    QTest::newRow("Label1") << "Label1" << QRect(240, 1320, 855, 255);
    QTest::newRow("txtStakebet") << "txtStakebet" << QRect(240, 1680, 1215, 315);
    QTest::newRow("txtLower") << "txtLower" << QRect(2040, 1680, 735, 315);
    QTest::newRow("txtUpper") << "txtUpper" << QRect(3240, 1680, 735, 315);
    QTest::newRow("cmbWin") << "cmbWin" << QRect(5520, 1680, 1215, 315);
    QTest::newRow("txtTotal") << "txtTotal" << QRect(11040, 1680, 1215, 315);
    QTest::newRow("txtPrevious") << "txtPrevious" << QRect(2520, 4560, 2055, 420);
    QTest::newRow("lblLose") << "lblLose" << QRect(8400, 5040, 1335, 855);
    QTest::newRow("txtGrandtot") << "txtGrandtot" << QRect(10080, 5640, 2055, 495);
    QTest::newRow("picHorse") << "picHorse" << QRect(480, 5520, 375, 255);
    QTest::newRow("cmdCalculate") << "cmdCalculate" << QRect(3240, 5880, 2535, 615);
    QTest::newRow("cmdReset") << "cmdReset" << QRect(240, 6240, 1455, 255);
}

void tst_frmMainfrm::controlsAtTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QRect, twipsRect);
    frmMainfrm& w = frmMainfrm::instance().load();
    auto* control = w.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(),
             twips::toPixels(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height()));
}

void tst_frmMainfrm::maximizeKeepsPlaces() {
    frmMainfrm& w = shown();
    QList<QPair<QWidget*, QRect>> before;
    for (QWidget* child : w.centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        before.append({child, child->geometry()});
    // The offscreen platform does not maximize; growing the window checks the same.
    w.resize(1600, 1000);
    QCoreApplication::processEvents();
    QVERIFY(w.centralWidget()->width() > 840);
    for (const auto& [child, geometry] : before)
        QCOMPARE(child->geometry(), geometry);
}

void tst_frmMainfrm::tabOrder() {
    frmMainfrm& w = shown();
    const QStringList expected{"txtLower",     "txtUpper",   "chkOdds",        "txtWinnings",
                               "txtOrigstake", "txtTotal",   "cmdCalculate",   "cmbWin",
                               "txtGrandtot",  "cmdReset",   "cmdSaveresults", "txtPrevious",
                               "txtRunning",   "txtStakebet"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // An editable combo box's line edit holds the focus on the combo box's behalf.
        while (focus && focus->parentWidget() != w.centralWidget())
            focus = focus->parentWidget();
        visited << (focus ? focus->objectName() : QString());
    }
    QCOMPARE(visited, expected);
}

void tst_frmMainfrm::calculateByKeyboardAndMouse_data() {
    QTest::addColumn<QString>("stake");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<bool>("oddsOn");
    QTest::addColumn<bool>("won");
    QTest::addColumn<QString>("origstake");
    QTest::addColumn<QString>("winnings");
    QTest::addColumn<QString>("total");
    QTest::newRow("won") << "10"
                         << "5"
                         << "2" << false << true << "10"
                         << "25.00"
                         << " 35";
    QTest::newRow("lost") << "10"
                          << "5"
                          << "2" << false << false << "-10"
                          << "0.00"
                          << "-10";
    QTest::newRow("odds-on") << "10"
                             << "2"
                             << "5" << true << true << "10"
                             << "25.00"
                             << " 35";
    QTest::newRow("half stake") << "10.5"
                                << "1"
                                << "3" << false << true << "10.5"
                                << "3.50"
                                << " 14";
}

void tst_frmMainfrm::calculateByKeyboardAndMouse() {
    QFETCH(QString, stake);
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(bool, oddsOn);
    QFETCH(bool, won);

    frmMainfrm& w = shown();
    w.txtPrevious->setText(QString()); // no results file yet
    w.txtStakebet->selectAll();
    QTest::keyClicks(w.txtStakebet, stake);
    w.txtLower->lineEdit()->selectAll();
    QTest::keyClicks(w.txtLower->lineEdit(), lower);
    w.txtUpper->lineEdit()->selectAll();
    QTest::keyClicks(w.txtUpper->lineEdit(), upper);
    if (oddsOn)
        QTest::mouseClick(w.chkOdds, Qt::LeftButton, {}, QPoint(6, w.chkOdds->height() / 2));
    if (!won) {
        w.cmbWin->setFocus();
        QTest::keyClick(w.cmbWin, Qt::Key_Down);
    }
    QCOMPARE(w.chkOdds->isChecked(), oddsOn);
    QCOMPARE(w.cmbWin->currentText(), won ? QStringLiteral("Yes") : QStringLiteral("No"));

    QTest::mouseClick(w.cmdCalculate, Qt::LeftButton);
    QCOMPARE(w.lbl1win->isVisible(), won);
    QCOMPARE(w.lblLose->isVisible(), !won);
    QTEST(w.txtOrigstake->text(), "origstake");
    QTEST(w.txtWinnings->text(), "winnings");
    QTEST(w.txtTotal->text(), "total");
    QTEST(w.txtGrandtot->text(), "total");
    QTEST(w.txtRunning->text(), "total");

    // A second press carries the race total into the grand total again.
    QTest::mouseClick(w.cmdCalculate, Qt::LeftButton);
    QCOMPARE(w.txtGrandtot->text(), FormatPlainAmount(2 * ReadAmount(w.txtTotal->text())));
    QVERIFY(m_box->okTexts.isEmpty());
}

void tst_frmMainfrm::horseRunsAndIsPaced() {
    frmMainfrm& w = shown();
    QTest::mouseClick(w.cmdCalculate, Qt::LeftButton);
    QCOMPARE(w.horseLeftTwips(), 480 + 151 * 50);
    QCOMPARE(w.picHorse->x(), twips::toPixels(480 + 151 * 50));
    QCOMPARE(m_env->waits, 151);
    QTest::mouseClick(w.cmdCalculate, Qt::LeftButton);
    QCOMPARE(w.horseLeftTwips(), 480 + 151 * 50); // started again from 480
    QCOMPARE(m_env->waits, 302);
}

void tst_frmMainfrm::errorIsShownAndProgramGoesOn_data() {
    QTest::addColumn<QString>("stake");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("grand");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty divisor") << "10"
                                   << ""
                                   << "0.00"
                                   << "Run-time error '11':\n\nDivision by zero";
    QTest::newRow("zero divisor") << "10"
                                  << "0"
                                  << "0.00"
                                  << "Run-time error '11':\n\nDivision by zero";
    QTest::newRow("stake too large") << "1e999"
                                     << "1"
                                     << "0.00"
                                     << "Run-time error '6':\n\nOverflow";
    QTest::newRow("overflowing sum") << "1e308"
                                     << "1"
                                     << "1.7e308"
                                     << "Run-time error '6':\n\nOverflow";
}

void tst_frmMainfrm::errorIsShownAndProgramGoesOn() {
    QFETCH(QString, stake);
    QFETCH(QString, upper);
    QFETCH(QString, grand);
    frmMainfrm& w = shown();
    w.txtStakebet->setText(stake);
    w.txtUpper->setEditText(upper);
    w.txtGrandtot->setText(grand);
    w.txtRunning->setText(QStringLiteral("kept"));

    QTest::mouseClick(w.cmdCalculate, Qt::LeftButton);
    QFETCH(QString, message);
    QCOMPARE(m_box->okTexts, QStringList{message});
    QCOMPARE(m_env->programEnds, 0);
    QVERIFY(frmMainfrm::instance().isVisible());
    QVERIFY(w.lbl1win->isVisible()); // the steps done before the error stay done
    QCOMPARE(w.txtOrigstake->text(), stake);
    QCOMPARE(w.txtGrandtot->text(), grand);
    QCOMPARE(w.txtRunning->text(), QStringLiteral("kept"));

    // The window still works afterwards.
    m_box->clear();
    w.txtStakebet->setText(QStringLiteral("10"));
    w.txtUpper->setEditText(QStringLiteral("2"));
    w.txtLower->setEditText(QStringLiteral("5"));
    w.txtGrandtot->setText(QStringLiteral("0.00"));
    QTest::mouseClick(w.cmdCalculate, Qt::LeftButton);
    QVERIFY(m_box->okTexts.isEmpty());
    QCOMPARE(w.txtTotal->text(), QStringLiteral(" 35"));
}

void tst_frmMainfrm::reset_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("grandAfter");
    QTest::newRow("yes") << true << "0.00";
    QTest::newRow("no") << false << " 35";
}

void tst_frmMainfrm::reset() {
    QFETCH(bool, yes);
    frmMainfrm& w = shown();
    w.txtStakebet->setText(QStringLiteral("10"));
    w.txtLower->setEditText(QStringLiteral("5"));
    w.txtUpper->setEditText(QStringLiteral("2"));
    w.txtPrevious->setText(QString());
    QTest::mouseClick(w.cmdCalculate, Qt::LeftButton);

    m_box->setNextAnswer(yes);
    QTest::mouseClick(w.cmdReset, Qt::LeftButton);
    QCOMPARE(m_box->questionTexts,
             QStringList{"Are you sure you want to completely reset your figures?"});
    QTEST(w.txtGrandtot->text(), "grandAfter");
    // Nothing else changes until the next Calculate.
    QCOMPARE(w.txtRunning->text(), QStringLiteral(" 35"));
    QCOMPARE(w.txtTotal->text(), QStringLiteral(" 35"));
    QVERIFY(w.lbl1win->isVisible());
}

void tst_frmMainfrm::exitEndsProgram() {
    frmMainfrm& w = shown();
    w.cmdExit->trigger();
    QCOMPARE(m_env->programEnds, 1);
    QVERIFY(!frmMainfrm::instance().isLoaded());
    QVERIFY(!w.isVisible());
}

void tst_frmMainfrm::closeButtonEndsProgram() {
    frmMainfrm& w = shown();
    QVERIFY(w.close());
    QCOMPARE(m_env->programEnds, 1);
    QVERIFY(!frmMainfrm::instance().isLoaded());
}

void tst_frmMainfrm::menuAccessKeys() {
    frmMainfrm& w = frmMainfrm::instance().load();
    const QList<QAction*> menus = w.menuBar()->actions();
    QStringList titles;
    for (QAction* menu : menus)
        titles << menu->text();
    QCOMPARE(titles, (QStringList{"&File", "&Options", "&Help"}));
    QCOMPARE(w.cmdExit->text(), QStringLiteral("E&xit"));
    QCOMPARE(w.mnuPath->text(), QStringLiteral("&Paths"));
    QCOMPARE(w.cmdAbout->text(), QStringLiteral("&About Quorvex"));
    QCOMPARE(w.mnuFile->actions().size(), 1);
}

QUORVEX_TEST_MAIN(tst_frmMainfrm)
#include "tst_frmMainfrm.moc"
