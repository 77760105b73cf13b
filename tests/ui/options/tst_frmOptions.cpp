#include "platform/qt/TabStrip.h"
#include "platform/qt/Twips.h"
#include "tests/support/FakeMessageBox.h"
#include "tests/support/TestEnvironment.h"
#include "ui/main/frmMainfrm.h"
#include "ui/options/frmOptions.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>

namespace twips = platform::twips;

namespace {

frmOptions& dialog() {
    return frmOptions::instance().load();
}

// Each panel as "in" (Left 210, enabled), "out" (Left -20000, disabled) or "?" (neither).
QString panels() {
    QStringList states;
    for (QWidget* panel : dialog().picOptions) {
        if (panel->x() == twips::toPixels(210) && panel->isEnabled())
            states << "in";
        else if (panel->x() == twips::toPixels(-20000) && !panel->isEnabled())
            states << "out";
        else
            states << "?";
    }
    return states.join(' ');
}

// More tabs, for panels 1 to 3, as a design with more pages would have.
void addTabs(int total) {
    platform::TabStrip* strip = dialog().tbsOptions;
    for (int i = strip->Tabs().count() + 1; i <= total; ++i)
        strip->Tabs().add(QStringLiteral("Page %1").arg(i), QStringLiteral("Group%1").arg(i));
}

QWidget* focused() {
    return QApplication::focusWidget();
}

void pressAtFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(focused() ? focused() : &dialog(), key, modifiers);
}

int optionsWindows() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        count += qobject_cast<frmOptions*>(window) ? 1 : 0;
    return count;
}

} // namespace

#define SHOW_DIALOG(name)                                                                          \
    frmOptions& name = frmOptions::instance().show();                                              \
    QVERIFY(QTest::qWaitForWindowActive(&name))

class tst_frmOptions : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void panelsLieOverTheTabPage();
    void firstShowing();
    void tabOrder_data();
    void tabOrder();
    void keysOnTheTabs_data();
    void keysOnTheTabs();
    void panelSwitching_data();
    void panelSwitching();
    void okKeepsTypedFolderAndPosition();
    void discardingBringsBackDesignFolder_data();
    void discardingBringsBackDesignFolder();
    void applyChangesNoText();
    void pathsTwiceGivesOneDialogInFront();
    void mainWindowCommandsWhileOpen_data();
    void mainWindowCommandsWhileOpen();
    void centredAtEveryLoad();

private:
    std::unique_ptr<testsupport::TestEnvironment> m_environment;
    std::unique_ptr<testsupport::FakeMessageBox> m_boxes;
};

void tst_frmOptions::init() {
    m_environment = std::make_unique<testsupport::TestEnvironment>();
    m_boxes = std::make_unique<testsupport::FakeMessageBox>();
}

void tst_frmOptions::cleanup() {
    testsupport::unloadAllWindows();
    QCOMPARE(m_boxes->okTexts, QStringList()); // no run-time error on the way
    m_boxes.reset();
    m_environment.reset();
}

void tst_frmOptions::panelsLieOverTheTabPage() {
    frmOptions& options = dialog();
    QCOMPARE(options.minimumSize(), options.maximumSize());
    const QRect page = options.tbsOptions->pageRect().translated(options.tbsOptions->pos());
    QVERIFY(page.contains(options.picOptions[0]->geometry()));
    // The strip lies beneath the panels: what is at the folder field is the folder field.
    QCOMPARE(options.childAt(options.txtPath->mapTo(&options, QPoint(5, 5))), options.txtPath);
    for (QPushButton* button : {options.cmdOK, options.cmdCancel, options.cmdApply})
        QVERIFY(button->y() > options.tbsOptions->geometry().bottom());
}

void tst_frmOptions::firstShowing() {
    SHOW_DIALOG(options);
    const platform::TabStrip::Tab tab = options.tbsOptions->SelectedItem();
    QCOMPARE(options.tbsOptions->Tabs().count(), 1);
    QCOMPARE(tab.index, 1);
    QCOMPARE(tab.caption, QStringLiteral("PathNames"));
    QCOMPARE(tab.key, QStringLiteral("Group1"));
    QCOMPARE(tab.toolTipText, QStringLiteral("Set Options for Pathnames"));
    QCOMPARE(panels(), QStringLiteral("in out out out"));
    QCOMPARE(options.txtPath->text(), QStringLiteral("c:\\"));
    QCOMPARE(focused(), options.tbsOptions->tabBar());
}

void tst_frmOptions::tabOrder_data() {
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("Tab") << true
                         << QStringList{"cmdOK", "cmdCancel", "cmdApply", "txtPath", "tabBar"};
    QTest::newRow("Shift+Tab") << false
                               << QStringList{"txtPath", "cmdApply", "cmdCancel", "cmdOK",
                                              "tabBar"};
}

void tst_frmOptions::tabOrder() {
    QFETCH(bool, forward);
    QFETCH(QStringList, expected);

    SHOW_DIALOG(options);
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        pressAtFocus(forward ? Qt::Key_Tab : Qt::Key_Backtab,
                     forward ? Qt::NoModifier : Qt::ShiftModifier);
        visited << focused()->objectName();
    }
    QCOMPARE(visited, expected);
}

void tst_frmOptions::keysOnTheTabs_data() {
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("sentTo"); // the focused control, or the window as a real key
    QTest::addColumn<int>("selectedAfter");
    QTest::addColumn<int>("clicks");

    const int tab = Qt::Key_Tab;
    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("Ctrl+Tab, the one tab") << 1 << 1 << tab << ctrl << "tabBar" << 1 << 0;
    QTest::newRow("Ctrl+Tab, next") << 2 << 1 << tab << ctrl << "tabBar" << 2 << 1;
    QTest::newRow("Ctrl+Tab, last of two wraps") << 2 << 2 << tab << ctrl << "tabBar" << 1 << 1;
    QTest::newRow("Ctrl+Tab, middle of four") << 4 << 2 << tab << ctrl << "tabBar" << 3 << 1;
    QTest::newRow("Ctrl+Tab, last of four wraps") << 4 << 4 << tab << ctrl << "tabBar" << 1 << 1;
    QTest::newRow("Ctrl+Tab while typing") << 3 << 1 << tab << ctrl << "txtPath" << 2 << 1;
    QTest::newRow("Ctrl+Tab, real key") << 2 << 1 << tab << ctrl << "window" << 2 << 1;
    QTest::newRow("Ctrl+Tab, real key while typing")
        << 3 << 1 << tab << ctrl << "window+txtPath" << 2 << 1;
    QTest::newRow("Ctrl+Shift+Tab")
        << 2 << 1 << int(Qt::Key_Backtab) << ctrlShift << "tabBar" << 1 << 0;
    QTest::newRow("Ctrl+Shift+Tab as Tab") << 2 << 1 << tab << ctrlShift << "tabBar" << 1 << 0;
    QTest::newRow("Ctrl+Alt+Tab") << 2 << 1 << tab << int(Qt::ControlModifier | Qt::AltModifier)
                                  << "tabBar" << 1 << 0;
    QTest::newRow("plain Tab") << 2 << 1 << tab << 0 << "tabBar" << 1 << 0;
    QTest::newRow("Ctrl+I") << 2 << 1 << int(Qt::Key_I) << ctrl << "tabBar" << 1 << 0;
}

void tst_frmOptions::keysOnTheTabs() {
    QFETCH(int, tabs);
    QFETCH(int, selected);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, sentTo);
    QFETCH(int, selectedAfter);
    QFETCH(int, clicks);

    SHOW_DIALOG(options);
    addTabs(tabs);
    options.tbsOptions->setSelectedItem(selected);
    if (sentTo.endsWith("txtPath"))
        options.txtPath->setFocus();
    QSignalSpy spy(options.tbsOptions, &platform::TabStrip::Click);

    if (sentTo.startsWith("window")) // the whole way of a key, shortcut check included
        QTest::keyClick(options.windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    else
        pressAtFocus(Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(options.tbsOptions->SelectedItem().index, selectedAfter);
    QCOMPARE(spy.count(), clicks);
    QCOMPARE(panels().split(' ').indexOf("in"), selectedAfter - 1);
    QVERIFY(options.isVisible());
}

void tst_frmOptions::panelSwitching_data() {
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("select");
    QTest::addColumn<QString>("expected"); // "?": a panel beyond the tabs, left as it was

    QTest::newRow("two tabs, second") << 2 << 2 << "out in ? ?";
    QTest::newRow("three tabs, third") << 3 << 3 << "out out in ?";
    QTest::newRow("four tabs, fourth") << 4 << 4 << "out out out in";
    QTest::newRow("four tabs, back to first") << 4 << 1 << "in out out out";
}

void tst_frmOptions::panelSwitching() {
    QFETCH(int, tabs);
    QFETCH(int, select);
    QFETCH(QString, expected);

    frmOptions& options = dialog();
    addTabs(tabs);
    options.tbsOptions->setSelectedItem(select == 1 ? 2 : 1); // so that select is a change
    // Every panel where neither rule would put it, to see which ones the switch touches.
    for (QWidget* panel : options.picOptions) {
        twips::setLeft(panel, 1000);
        panel->setEnabled(true);
    }
    options.tbsOptions->setSelectedItem(select);
    QCOMPARE(panels(), expected);
}

void tst_frmOptions::okKeepsTypedFolderAndPosition() {
    SHOW_DIALOG(options);
    options.move(options.pos() + QPoint(37, 23));
    const QPoint movedTo = options.pos();
    options.txtPath->selectAll();
    QTest::keyClicks(options.txtPath, QStringLiteral("d:\\results"));
    QTest::mouseClick(options.cmdOK, Qt::LeftButton);

    QVERIFY(!options.isVisible());
    QCOMPARE(&frmOptions::instance().show(), &options);
    QCOMPARE(options.txtPath->text(), QStringLiteral("d:\\results"));
    QCOMPARE(options.pos(), movedTo);
}

void tst_frmOptions::discardingBringsBackDesignFolder_data() {
    QTest::addColumn<QString>("how");

    QTest::newRow("Cancel") << "cancel";
    QTest::newRow("Esc in the folder field") << "escFolder";
    QTest::newRow("Esc on the tabs") << "escTabs";
    QTest::newRow("frame close") << "close";
}

void tst_frmOptions::discardingBringsBackDesignFolder() {
    QFETCH(QString, how);

    dialog().txtPath->setText(QStringLiteral("/opt/quorvex")); // as start-up leaves it
    SHOW_DIALOG(options);
    QTest::keyClicks(options.txtPath, QStringLiteral("typed"));
    if (how == "cancel") {
        QTest::mouseClick(options.cmdCancel, Qt::LeftButton);
    } else if (how == "close") {
        QVERIFY(options.close());
    } else {
        if (how == "escFolder")
            options.txtPath->setFocus();
        pressAtFocus(Qt::Key_Escape);
    }

    QVERIFY(!frmOptions::instance().isLoaded());
    QTRY_COMPARE(optionsWindows(), 0);
    // The next use of the folder, by the results file, loads a fresh dialog and shows nothing.
    QCOMPARE(frmOptions::instance().load().txtPath->text(), QStringLiteral("c:\\"));
    QVERIFY(!frmOptions::instance().isVisible());
}

void tst_frmOptions::applyChangesNoText() {
    SHOW_DIALOG(options);
    options.txtPath->setText(QStringLiteral("e:\\bets"));
    QTest::mouseClick(options.cmdApply, Qt::LeftButton);
    QVERIFY(options.isVisible());
    QCOMPARE(options.txtPath->text(), QStringLiteral("e:\\bets"));
    QCOMPARE(panels(), QStringLiteral("in out out out"));
}

void tst_frmOptions::pathsTwiceGivesOneDialogInFront() {
    frmMainfrm& main = frmMainfrm::instance().show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    main.mnuPath->trigger();
    frmOptions* first = frmOptions::instance().loaded();
    QVERIFY(QTest::qWaitForWindowActive(first));
    QCOMPARE(first->parentWidget(), nullptr);
    QVERIFY(!first->isModal());

    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    main.mnuPath->trigger();
    QCOMPARE(frmOptions::instance().loaded(), first);
    QCOMPARE(optionsWindows(), 1);
    QVERIFY(QTest::qWaitForWindowActive(first));
}

void tst_frmOptions::mainWindowCommandsWhileOpen_data() {
    QTest::addColumn<bool>("pressOk");

    QTest::newRow("dialog still open") << false;
    QTest::newRow("after OK") << true;
}

void tst_frmOptions::mainWindowCommandsWhileOpen() {
    QFETCH(bool, pressOk);

    QTemporaryDir folder;
    frmMainfrm& main = frmMainfrm::instance().show();
    main.mnuPath->trigger();
    frmOptions& options = *frmOptions::instance().loaded();
    QVERIFY(QTest::qWaitForWindowActive(&options));
    options.txtPath->selectAll();
    QTest::keyClicks(options.txtPath, folder.path());
    if (pressOk)
        QTest::mouseClick(options.cmdOK, Qt::LeftButton);

    main.txtStakebet->setText(QStringLiteral("10"));
    main.txtLower->setEditText(QStringLiteral("5"));
    main.txtUpper->setEditText(QStringLiteral("2"));
    QTest::mouseClick(main.cmdCalculate, Qt::LeftButton);
    QTest::mouseClick(main.cmdSaveresults, Qt::LeftButton);

    QCOMPARE(main.txtTotal->text(), QStringLiteral(" 35"));
    QCOMPARE(m_boxes->okTexts, QStringList{QStringLiteral("Data saved to file!")});
    m_boxes->clear();
    QFile file(folder.filePath(QStringLiteral("quorvexresults.txt")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\" 35\"\r\n"));
    QCOMPARE(options.isVisible(), !pressOk);
}

void tst_frmOptions::centredAtEveryLoad() {
    const QPoint centre = QGuiApplication::primaryScreen()->geometry().center();
    auto offCentre = [&](const QWidget& window) {
        return (window.frameGeometry().center() - centre).manhattanLength();
    };

    SHOW_DIALOG(options);
    QVERIFY2(offCentre(options) <= 2, qPrintable(QString::number(offCentre(options))));
    options.move(5, 5);
    QTest::mouseClick(options.cmdCancel, Qt::LeftButton);
    QTRY_COMPARE(optionsWindows(), 0);

    frmOptions& fresh = frmOptions::instance().load();
    QVERIFY2(offCentre(fresh) <= 2, qPrintable(QString::number(offCentre(fresh))));
}

QUORVEX_TEST_MAIN(tst_frmOptions)

#include "tst_frmOptions.moc"
