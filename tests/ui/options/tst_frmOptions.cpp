#include "platform/nix/QtWindow.h"
#include "platform/nix/TabStrip.h"
#include "tests/support/FormChecks.h"
#include "tests/support/ResultsFolder.h"
#include "tests/support/ServiceDoubles.h"
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

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

frmOptions& dialog() {
    return frmOptions::instance().load();
}

QWidget* top(frmOptions& options) {
    return platform::qt::widget(options);
}

platform::TabStrip* strip(frmOptions& options) {
    return platform::qt::widget<platform::TabStrip>(options.tbsOptions);
}

QLineEdit* folderField(frmOptions& options) {
    return platform::qt::widget<QLineEdit>(options.txtPath);
}

void click(platform::Control& button) {
    QTest::mouseClick(platform::qt::widget(button), Qt::LeftButton);
}

// Each panel as "in" (on the tab strip's page, enabled), "out" (outside the dialog, disabled)
// or "?" (neither).
QString panels() {
    frmOptions& options = dialog();
    const QRect page = strip(options)->pageRect().translated(strip(options)->pos());
    const QRect client = strip(options)->parentWidget()->rect();
    QStringList states;
    for (platform::Control& panel : options.picOptions) {
        const QRect place = platform::qt::widget(panel)->geometry();
        if (page.contains(place) && panel.isEnabled())
            states << "in";
        else if (!client.intersects(place) && !panel.isEnabled())
            states << "out";
        else
            states << "?";
    }
    return states.join(' ');
}

QWidget* focused() {
    return QApplication::focusWidget();
}

void pressAtFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(focused() ? focused() : top(dialog()), key, modifiers);
}

int optionsWindows() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        count += window->objectName() == QLatin1String("frmOptions") ? 1 : 0;
    return count;
}

// Types over what a field holds, as a user who selects it all first.
void typeOver(QWidget* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
}

void typeOver(platform::Control& field, const QString& text) {
    QWidget* widget = platform::qt::widget(field);
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        widget = combo->lineEdit();
    typeOver(widget, text);
}

} // namespace

#define SHOW_DIALOG(name)                                                                          \
    frmOptions& name = frmOptions::instance().show();                                              \
    QVERIFY(QTest::qWaitForWindowActive(top(name)))

class tst_frmOptions : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void layoutFollowsTheTable();
    void panelsLieOverTheTabPage();
    void firstShowing();
    void tabOrder_data();
    void tabOrder();
    void keysLeaveTheOneTab_data();
    void keysLeaveTheOneTab();
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
    QCOMPARE(testsupport::toQt(m_boxes->okTexts), QStringList()); // no run-time error on the way
    m_boxes.reset();
    m_environment.reset();
}

void tst_frmOptions::layoutFollowsTheTable() {
    SHOW_DIALOG(options);
    QUORVEX_VERIFY_LAYOUT(options);
}

void tst_frmOptions::panelsLieOverTheTabPage() {
    frmOptions& options = dialog();
    QCOMPARE(top(options)->minimumSize(), top(options)->maximumSize());
    QCOMPARE(panels(), QStringLiteral("in out out out"));
    // The strip lies beneath the panels: what is at the folder field is the folder field.
    QLineEdit* field = folderField(options);
    QCOMPARE(top(options)->childAt(field->mapTo(top(options), QPoint(5, 5))), field);
    for (platform::Control* button : {&options.cmdOK, &options.cmdCancel, &options.cmdApply})
        QVERIFY(platform::qt::widget(*button)->y() > strip(options)->geometry().bottom());
}

// The tab bar shows the table's tabs, the first one selected, and has the focus.
void tst_frmOptions::firstShowing() {
    SHOW_DIALOG(options);
    const std::span<const platform::TabDesign> tabs = options.tbsOptions.design().tabs;
    QTabBar* bar = strip(options)->tabBar();
    QCOMPARE(bar->count(), int(tabs.size()));
    for (int i = 0; i < bar->count(); ++i) {
        QCOMPARE(bar->tabText(i), QString::fromUtf8(tabs[std::size_t(i)].caption));
        QCOMPARE(bar->tabToolTip(i), QString::fromUtf8(tabs[std::size_t(i)].toolTip));
    }
    QCOMPARE(options.tbsOptions.selectedIndex(), 1);
    QCOMPARE(bar->currentIndex(), 0);
    QCOMPARE(panels(), QStringLiteral("in out out out"));
    QCOMPARE(focused(), bar);
}

void tst_frmOptions::tabOrder_data() {
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QStringList>("expected");

    // clang-format off
    QTest::newRow("Tab") << true << QStringList{"cmdOK", "cmdCancel", "cmdApply", "txtPath", "tabBar"};
    QTest::newRow("Shift+Tab") << false << QStringList{"txtPath", "cmdApply", "cmdCancel", "cmdOK", "tabBar"};
    // clang-format on
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

// With the one tab, Ctrl+Tab selects it again: nothing changes, nothing is switched, and no
// other combination with Tab does anything either.
void tst_frmOptions::keysLeaveTheOneTab_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("sentTo"); // the focused control, or the window as a real key

    const int tab = Qt::Key_Tab;
    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("Ctrl+Tab on the tabs") << tab << ctrl << "tabBar";
    QTest::newRow("Ctrl+Tab while typing") << tab << ctrl << "txtPath";
    QTest::newRow("Ctrl+Tab, real key") << tab << ctrl << "window";
    QTest::newRow("Ctrl+Tab, real key while typing") << tab << ctrl << "window+txtPath";
    QTest::newRow("Ctrl+Shift+Tab") << int(Qt::Key_Backtab) << ctrlShift << "tabBar";
    QTest::newRow("Ctrl+Shift+Tab as Tab") << tab << ctrlShift << "tabBar";
    QTest::newRow("Ctrl+Alt+Tab") << tab << int(Qt::ControlModifier | Qt::AltModifier) << "tabBar";
    QTest::newRow("Ctrl+I") << int(Qt::Key_I) << ctrl << "tabBar";
}

void tst_frmOptions::keysLeaveTheOneTab() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, sentTo);

    SHOW_DIALOG(options);
    if (sentTo.endsWith("txtPath"))
        folderField(options)->setFocus();
    QWidget* focusBefore = focused();
    QSignalSpy clicks(strip(options), &platform::TabStrip::Click);

    if (sentTo.startsWith("window")) // the whole way of a key, shortcut check included
        QTest::keyClick(top(options)->windowHandle(), Qt::Key(key),
                        Qt::KeyboardModifiers(modifiers));
    else
        pressAtFocus(Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(options.tbsOptions.selectedIndex(), 1);
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(panels(), QStringLiteral("in out out out"));
    QCOMPARE(q(options.txtPath.text()), QStringLiteral("c:\\"));
    QCOMPARE(focused(), focusBefore);
    QVERIFY(top(options)->isVisible());
}

void tst_frmOptions::okKeepsTypedFolderAndPosition() {
    SHOW_DIALOG(options);
    QWidget* window = top(options);
    window->move(window->pos() + QPoint(37, 23));
    const QPoint movedTo = window->pos();
    typeOver(options.txtPath, QStringLiteral("d:\\results"));
    click(options.cmdOK);

    QVERIFY(!window->isVisible());
    QCOMPARE(&frmOptions::instance().show(), &options);
    QCOMPARE(q(options.txtPath.text()), QStringLiteral("d:\\results"));
    QCOMPARE(window->pos(), movedTo);
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

    dialog().txtPath.setText("/opt/quorvex"); // as start-up leaves it
    SHOW_DIALOG(options);
    QTest::keyClicks(folderField(options), QStringLiteral("typed"));
    if (how == "cancel") {
        click(options.cmdCancel);
    } else if (how == "close") {
        top(options)->close();
    } else {
        if (how == "escFolder")
            folderField(options)->setFocus();
        pressAtFocus(Qt::Key_Escape);
    }

    QVERIFY(!frmOptions::instance().isLoaded());
    QTRY_COMPARE(optionsWindows(), 0);
    // The next use of the folder, by the results file, loads a fresh dialog and shows nothing.
    QCOMPARE(q(frmOptions::instance().load().txtPath.text()), QStringLiteral("c:\\"));
    QVERIFY(!frmOptions::instance().isVisible());
}

void tst_frmOptions::applyChangesNoText() {
    SHOW_DIALOG(options);
    typeOver(options.txtPath, QStringLiteral("e:\\bets"));
    click(options.cmdApply);
    QVERIFY(frmOptions::instance().isVisible());
    QCOMPARE(q(options.txtPath.text()), QStringLiteral("e:\\bets"));
    QCOMPARE(panels(), QStringLiteral("in out out out"));
}

void tst_frmOptions::pathsTwiceGivesOneDialogInFront() {
    testsupport::resultsInProgramFolder();
    frmMainfrm& main = frmMainfrm::instance().show();
    QVERIFY(QTest::qWaitForWindowActive(platform::qt::widget(main)));
    platform::qt::action(main.mnuPath)->trigger();
    frmOptions* first = frmOptions::instance().loaded();
    QVERIFY(first);
    QVERIFY(QTest::qWaitForWindowActive(top(*first)));
    QCOMPARE(top(*first)->parentWidget(), nullptr);
    QVERIFY(!top(*first)->isModal());

    platform::qt::widget(main)->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(platform::qt::widget(main)));
    platform::qt::action(main.mnuPath)->trigger();
    QCOMPARE(frmOptions::instance().loaded(), first);
    QCOMPARE(optionsWindows(), 1);
    QVERIFY(QTest::qWaitForWindowActive(top(*first)));
}

void tst_frmOptions::mainWindowCommandsWhileOpen_data() {
    QTest::addColumn<bool>("pressOk");

    QTest::newRow("dialog still open") << false;
    QTest::newRow("after OK") << true;
}

void tst_frmOptions::mainWindowCommandsWhileOpen() {
    QFETCH(bool, pressOk);

    QTemporaryDir folder;
    testsupport::resultsInProgramFolder();
    frmMainfrm& main = frmMainfrm::instance().show();
    platform::qt::action(main.mnuPath)->trigger();
    frmOptions& options = *frmOptions::instance().loaded();
    QVERIFY(QTest::qWaitForWindowActive(top(options)));
    typeOver(options.txtPath, folder.path());
    if (pressOk)
        click(options.cmdOK);

    typeOver(main.txtStakebet, QStringLiteral("10"));
    typeOver(main.txtLower, QStringLiteral("5"));
    typeOver(main.txtUpper, QStringLiteral("2"));
    click(main.cmdCalculate);
    click(main.cmdSaveresults);

    QCOMPARE(q(main.txtTotal.text()), QStringLiteral(" 35"));
    QCOMPARE(testsupport::toQt(m_boxes->okTexts),
             QStringList{QStringLiteral("Data saved to file!")});
    m_boxes->clear();
    QFile file(folder.filePath(QStringLiteral("quorvexresults.txt")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\" 35\"\r\n"));
    QCOMPARE(frmOptions::instance().isVisible(), !pressOk);
}

void tst_frmOptions::centredAtEveryLoad() {
    const QPoint centre = QGuiApplication::primaryScreen()->geometry().center();
    auto offCentre = [&](const QWidget* window) {
        return (window->frameGeometry().center() - centre).manhattanLength();
    };

    SHOW_DIALOG(options);
    QVERIFY2(offCentre(top(options)) <= 2, qPrintable(QString::number(offCentre(top(options)))));
    top(options)->move(5, 5);
    click(options.cmdCancel);
    QTRY_COMPARE(optionsWindows(), 0);

    QWidget* fresh = top(frmOptions::instance().load());
    QVERIFY2(offCentre(fresh) <= 2, qPrintable(QString::number(offCentre(fresh))));
}

QUORVEX_TEST_MAIN(tst_frmOptions)

#include "tst_frmOptions.moc"
