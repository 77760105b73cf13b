#include "platform/nix/QtWindow.h"
#include "platform/nix/Twips.h"
#include "tests/support/FormChecks.h"
#include "tests/support/TestEnvironment.h"
#include "ui/splash/frmSplash.h"

#include <QPointer>
#include <QtTest>

class TestSplash : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { testsupport::unloadAllWindows(); }

    void loadFillsVersionAndTitle();
    void layoutFollowsTheTable();
    void nothingTakesTheFocus();
    void paintedOnceWhenShown();
    void keys_data();
    void keys();
    void clicks_data();
    void clicks();

private:
    testsupport::TestEnvironment m_environment;
};

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

frmSplash& shownSplash() {
    frmSplash& splash = frmSplash::instance().show();
    QCoreApplication::processEvents();
    return splash;
}

// The window itself, or one of its controls by name.
QWidget* target(frmSplash& splash, const QString& name) {
    if (name == QLatin1String("frmSplash"))
        return platform::qt::widget(splash);
    return platform::qt::widget(platform::Control(splash, name.toUtf8().constData()));
}

} // namespace

void TestSplash::loadFillsVersionAndTitle() {
    frmSplash splash;
    splash.lblProductName.setText("stale");
    splash.Form_Load();
    QCOMPARE(q(splash.lblVersion.text()), QStringLiteral("Version " QUORVEX_VERSION));
    QCOMPARE(q(splash.lblProductName.text()), QStringLiteral("Quorvex"));
}

// Before the load step and after it, which changes the captions of two auto-sized labels.
void TestSplash::layoutFollowsTheTable() {
    frmSplash splash;
    QUORVEX_VERIFY_LAYOUT(splash);
    splash.Form_Load();
    QUORVEX_VERIFY_LAYOUT(splash);
}

void TestSplash::nothingTakesTheFocus() {
    frmSplash& splash = shownSplash();
    QWidget* top = platform::qt::widget(splash);
    QCOMPARE(top->focusPolicy(), Qt::NoFocus);
    for (const QWidget* child : top->findChildren<QWidget*>())
        QVERIFY2(child->focusPolicy() == Qt::NoFocus, qPrintable(child->objectName()));
}

// As start-up shows it: its exposure paints it, and painting it at once adds no second paint
// of the whole window, which the first window would wait for.
void TestSplash::paintedOnceWhenShown() {
    struct PaintCount : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } count;
    QWidget* top = platform::qt::widget(frmSplash::instance().load());
    top->installEventFilter(&count);
    frmSplash::instance().show().window().paintNow();
    QVERIFY(top->windowHandle()->isExposed());
    QCoreApplication::processEvents();
    QCOMPARE(count.paints, 1);
}

void TestSplash::keys_data() {
    QTest::addColumn<QString>("receiver");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("dismisses");
    QTest::newRow("Esc") << "frmSplash" << int(Qt::Key_Escape) << true;
    QTest::newRow("Enter") << "frmSplash" << int(Qt::Key_Return) << true;
    QTest::newRow("letter") << "frmSplash" << int(Qt::Key_Q) << true;
    QTest::newRow("blank") << "frmSplash" << int(Qt::Key_Space) << true;
    QTest::newRow("letter at a label") << "lblWarning" << int(Qt::Key_A) << true;
    QTest::newRow("Esc at the frame") << "Frame1" << int(Qt::Key_Escape) << true;
    QTest::newRow("arrow") << "frmSplash" << int(Qt::Key_Down) << false;
    QTest::newRow("arrow at a label") << "lblVersion" << int(Qt::Key_Left) << false;
    QTest::newRow("function key") << "frmSplash" << int(Qt::Key_F1) << false;
    QTest::newRow("function key at the frame") << "Frame1" << int(Qt::Key_F10) << false;
    QTest::newRow("shift alone") << "frmSplash" << int(Qt::Key_Shift) << false;
}

void TestSplash::keys() {
    QFETCH(QString, receiver);
    QFETCH(int, key);
    QFETCH(bool, dismisses);

    frmSplash& splash = shownSplash();
    const QPointer<QWidget> top = platform::qt::widget(splash);
    QWidget* at = target(splash, receiver);
    QVERIFY(at);
    QTest::keyClick(at, Qt::Key(key));
    QCOMPARE(frmSplash::instance().isLoaded(), !dismisses);
    QVERIFY(top);
    QCOMPARE(top->isVisible(), !dismisses);
}

void TestSplash::clicks_data() {
    QTest::addColumn<QString>("receiver");
    QTest::addColumn<QPoint>("at"); // twips, relative to the receiver
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("dismisses");
    // Between the icon and the title, clear of every label.
    // clang-format off
    QTest::newRow("frame's bare area") << "Frame1" << QPoint(2300, 2500) << int(Qt::LeftButton) << true;
    QTest::newRow("frame's edge") << "Frame1" << QPoint(15, 2000) << int(Qt::LeftButton) << true;
    QTest::newRow("right button on the frame") << "Frame1" << QPoint(2300, 2500) << int(Qt::RightButton) << false;
    QTest::newRow("warning") << "lblWarning" << QPoint(300, 90) << int(Qt::LeftButton) << false;
    QTest::newRow("icon") << "imgLogo" << QPoint(900, 1200) << int(Qt::LeftButton) << false;
    QTest::newRow("title") << "lblProductName" << QPoint(300, 300) << int(Qt::LeftButton) << false;
    QTest::newRow("version") << "lblVersion" << QPoint(60, 60) << int(Qt::LeftButton) << false;
    QTest::newRow("licence line's empty end") << "lblLicenseTo" << QPoint(6500, 100) << int(Qt::LeftButton) << false;
    QTest::newRow("window border") << "frmSplash" << QPoint(15, 15) << int(Qt::LeftButton) << false;
    // clang-format on
}

void TestSplash::clicks() {
    QFETCH(QString, receiver);
    QFETCH(QPoint, at);
    QFETCH(int, button);
    QFETCH(bool, dismisses);

    frmSplash& splash = shownSplash();
    const QPointer<QWidget> top = platform::qt::widget(splash);
    QWidget* clicked = target(splash, receiver);
    QVERIFY(clicked);
    const QPoint pixel = platform::twips::toPixels(at);
    QVERIFY(clicked->rect().contains(pixel));
    QTest::mouseClick(clicked, Qt::MouseButton(button), {}, pixel);
    QCOMPARE(frmSplash::instance().isLoaded(), !dismisses);
    QVERIFY(top);
    QCOMPARE(top->isVisible(), !dismisses);
}

QUORVEX_TEST_MAIN(TestSplash)
#include "tst_frmSplash.moc"
