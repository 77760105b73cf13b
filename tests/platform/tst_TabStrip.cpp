#include "platform/RuntimeError.h"
#include "platform/nix/TabStrip.h"
#include "tests/support/TestEnvironment.h"

#include <QSignalSpy>
#include <QTabBar>

using platform::TabStrip;

namespace {

void addTabs(TabStrip& strip, int count) {
    for (int i = 1; i <= count; ++i)
        strip.Tabs().add(QStringLiteral("Tab %1").arg(i), QStringLiteral("Key%1").arg(i),
                         QStringLiteral("Tip %1").arg(i));
}

} // namespace

class tst_TabStrip : public QObject {
    Q_OBJECT
private slots:
    void addingKeepsItemsAndSelectsFirstSilently();
    void settingSelectedItem_data();
    void settingSelectedItem();
    void userSelectionRaisesClick_data();
    void userSelectionRaisesClick();
};

void tst_TabStrip::addingKeepsItemsAndSelectsFirstSilently() {
    TabStrip strip;
    QSignalSpy clicks(&strip, &TabStrip::Click);
    addTabs(strip, 3);

    QCOMPARE(strip.Tabs().count(), 3);
    QCOMPARE(strip.SelectedItem().index, 1);
    QCOMPARE(clicks.count(), 0);
    const TabStrip::Tab tab = strip.Tabs().item(2);
    QCOMPARE(tab.index, 2);
    QCOMPARE(tab.key, QStringLiteral("Key2"));
    // What the user sees of it.
    QCOMPARE(strip.tabBar()->tabText(1), QStringLiteral("Tab 2"));
    QCOMPARE(strip.tabBar()->tabToolTip(1), QStringLiteral("Tip 2"));
}

void tst_TabStrip::settingSelectedItem_data() {
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("select");
    QTest::addColumn<int>("expectedSelected");
    QTest::addColumn<int>("expectedClicks");
    QTest::addColumn<int>("expectedError");

    QTest::newRow("another tab") << 3 << 1 << 2 << 2 << 1 << 0;
    QTest::newRow("back to the first") << 3 << 3 << 1 << 1 << 1 << 0;
    QTest::newRow("the selected one again") << 3 << 2 << 2 << 2 << 0 << 0;
    QTest::newRow("the only tab again") << 1 << 1 << 1 << 1 << 0 << 0;
    QTest::newRow("zero") << 3 << 2 << 0 << 2 << 0 << 35600;
    QTest::newRow("past the last") << 3 << 2 << 4 << 2 << 0 << 35600;
}

void tst_TabStrip::settingSelectedItem() {
    QFETCH(int, tabs);
    QFETCH(int, first);
    QFETCH(int, select);
    QFETCH(int, expectedSelected);
    QFETCH(int, expectedClicks);
    QFETCH(int, expectedError);

    TabStrip strip;
    addTabs(strip, tabs);
    strip.setSelectedItem(first);
    QSignalSpy clicks(&strip, &TabStrip::Click);
    int error = 0;
    try {
        strip.setSelectedItem(select);
    } catch (const platform::RuntimeError& e) {
        error = e.number();
    }
    QCOMPARE(error, expectedError);
    QCOMPARE(strip.SelectedItem().index, expectedSelected);
    QCOMPARE(clicks.count(), expectedClicks);
}

void tst_TabStrip::userSelectionRaisesClick_data() {
    QTest::addColumn<bool>("byMouse");

    QTest::newRow("mouse on the second tab") << true;
    QTest::newRow("right arrow") << false;
}

void tst_TabStrip::userSelectionRaisesClick() {
    QFETCH(bool, byMouse);

    TabStrip strip;
    strip.resize(400, 300);
    addTabs(strip, 3);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    QSignalSpy clicks(&strip, &TabStrip::Click);
    QTabBar* bar = strip.tabBar();
    if (byMouse)
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    else
        QTest::keyClick(bar, Qt::Key_Right);
    QCOMPARE(strip.SelectedItem().index, 2);
    QCOMPARE(clicks.count(), 1);
}

QUORVEX_TEST_MAIN(tst_TabStrip)

#include "tst_TabStrip.moc"
