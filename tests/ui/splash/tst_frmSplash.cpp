#include "platform/qt/AutoSizeLabel.h"
#include "platform/qt/Twips.h"
#include "tests/support/TestEnvironment.h"
#include "ui/splash/frmSplash.h"

#include <QFontMetrics>
#include <QLabel>
#include <QtTest>

class TestSplash : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { testsupport::unloadAllWindows(); }

    void versionLabel_data();
    void versionLabel();
    void titleLabelShowsTheApplicationTitle();
    void autoSizedLabelsFitTheirCaption_data();
    void autoSizedLabelsFitTheirCaption();
    void keys_data();
    void keys();
    void clicks_data();
    void clicks();

private:
    testsupport::TestEnvironment m_environment;
};

namespace {

frmSplash& shownSplash() {
    frmSplash& splash = frmSplash::instance().show();
    QCoreApplication::processEvents();
    return splash;
}

QWidget* control(frmSplash& splash, const QString& name) {
    return name == QLatin1String("frmSplash") ? &splash : splash.findChild<QWidget*>(name);
}

} // namespace

void TestSplash::versionLabel_data() {
    QTest::addColumn<bool>("programVersion");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("expected");
    QTest::newRow("the program's own") << true << 0 << 0 << 0 << "Version 1.1.0";
    QTest::newRow("two-figure revision") << false << 1 << 5 << 12 << "Version 1.5.12";
    QTest::newRow("zeros unpadded") << false << 10 << 0 << 7 << "Version 10.0.7";
}

void TestSplash::versionLabel() {
    QFETCH(bool, programVersion);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, expected);

    if (programVersion) {
        // Loading through the instance is what start-up does.
        QCOMPARE(frmSplash::instance().load().lblVersion->text(), expected);
    } else {
        frmSplash splash;
        splash.Form_Load({major, minor, revision});
        QCOMPARE(splash.lblVersion->text(), expected);
    }
}

void TestSplash::titleLabelShowsTheApplicationTitle() {
    frmSplash splash;
    splash.lblProductName->setCaption(QStringLiteral("stale"));
    splash.Form_Load();
    QCOMPARE(splash.lblProductName->text(), QStringLiteral("Quorvex"));
}

void TestSplash::autoSizedLabelsFitTheirCaption_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QRect>("design"); // twips
    QTest::addColumn<bool>("keepsRightEdge");
    const QRect version(5970, 2700, 885, 285);
    const QRect title(2520, 1140, 3720, 765);
    QTest::newRow("version at creation") << "lblVersion" << false << version << true;
    QTest::newRow("version after load") << "lblVersion" << true << version << true;
    QTest::newRow("platform") << "lblPlatform" << true << QRect(5910, 2340, 945, 360) << true;
    QTest::newRow("title at creation") << "lblProductName" << false << title << false;
    QTest::newRow("title after load") << "lblProductName" << true << title << false;
    QTest::newRow("owner's name") << "lblCompanyProduct" << true << QRect(2355, 705, 1320, 435)
                                  << false;
}

// The caption's extent in the label's font, on one line; the version and platform lines stay
// flush right where the design put their right edge, the others keep their left edge.
void TestSplash::autoSizedLabelsFitTheirCaption() {
    QFETCH(QString, name);
    QFETCH(bool, loaded);
    QFETCH(QRect, design);
    QFETCH(bool, keepsRightEdge);

    frmSplash splash;
    if (loaded)
        splash.Form_Load({1, 5, 12});
    auto* label = splash.findChild<QLabel*>(name);
    QVERIFY(label);
    QCOMPARE(label->size(), QFontMetrics(label->font()).size(Qt::TextSingleLine, label->text()));
    const QRect designPixels =
        platform::twips::toPixels(design.x(), design.y(), design.width(), design.height());
    QCOMPARE(label->y(), designPixels.y());
    if (keepsRightEdge)
        QCOMPARE(label->geometry().right(), designPixels.right());
    else
        QCOMPARE(label->x(), designPixels.x());
    QVERIFY(splash.Frame1->contentsRect().contains(label->geometry()));
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
    QWidget* target = control(splash, receiver);
    QVERIFY(target);
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(frmSplash::instance().isLoaded(), !dismisses);
    QCOMPARE(splash.isVisible(), !dismisses);
}

void TestSplash::clicks_data() {
    QTest::addColumn<QString>("receiver");
    QTest::addColumn<QPoint>("at"); // twips, relative to the receiver
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("dismisses");
    // Between the icon and the title, clear of every label.
    QTest::newRow("frame's bare area")
        << "Frame1" << QPoint(2300, 2500) << int(Qt::LeftButton) << true;
    QTest::newRow("frame's edge") << "Frame1" << QPoint(15, 2000) << int(Qt::LeftButton) << true;
    QTest::newRow("right button on the frame")
        << "Frame1" << QPoint(2300, 2500) << int(Qt::RightButton) << false;
    QTest::newRow("warning") << "lblWarning" << QPoint(300, 90) << int(Qt::LeftButton) << false;
    QTest::newRow("icon") << "imgLogo" << QPoint(900, 1200) << int(Qt::LeftButton) << false;
    QTest::newRow("title") << "lblProductName" << QPoint(300, 300) << int(Qt::LeftButton) << false;
    QTest::newRow("version") << "lblVersion" << QPoint(60, 60) << int(Qt::LeftButton) << false;
    QTest::newRow("licence line's empty end")
        << "lblLicenseTo" << QPoint(6500, 100) << int(Qt::LeftButton) << false;
    QTest::newRow("window border") << "frmSplash" << QPoint(15, 15) << int(Qt::LeftButton) << false;
}

void TestSplash::clicks() {
    QFETCH(QString, receiver);
    QFETCH(QPoint, at);
    QFETCH(int, button);
    QFETCH(bool, dismisses);

    frmSplash& splash = shownSplash();
    QWidget* target = control(splash, receiver);
    QVERIFY(target);
    const QPoint pixel = platform::twips::toPixels(at);
    QVERIFY(target->rect().contains(pixel));
    QTest::mouseClick(target, Qt::MouseButton(button), {}, pixel);
    QCOMPARE(frmSplash::instance().isLoaded(), !dismisses);
    QCOMPARE(splash.isVisible(), !dismisses);
}

QUORVEX_TEST_MAIN(TestSplash)
#include "tst_frmSplash.moc"
