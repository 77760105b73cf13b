#include "tests/support/FormChecks.h"
#include "tests/support/ResultsFolder.h"
#include "tests/support/ServiceDoubles.h"
#include "tests/support/TestEnvironment.h"
#include "ui/about/frmAbout.h"
#include "ui/main/frmMainfrm.h"
#include "ui/options/frmOptions.h"
#include "ui/splash/frmSplash.h"

#include "platform/nix/QtWindow.h"
#include "resources/Pictures.h"

#include <QSet>

// Run with QT_SCALE_FACTOR set: on a high-density screen every caption is still whole.
class tst_HighDpi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void captionsFit_data();
    void captionsFit();
    void horseDrawnPixelForPixel();

private:
    testsupport::TestEnvironment m_environment;
};

namespace {

platform::Form& shownWindow(const QString& name) {
    if (name == u"frmMainfrm") {
        testsupport::resultsInProgramFolder();
        return frmMainfrm::instance().show();
    }
    if (name == u"frmSplash")
        return frmSplash::instance().show();
    if (name == u"frmOptions")
        return frmOptions::instance().show();
    return frmAbout::instance().show();
}

} // namespace

void tst_HighDpi::initTestCase() {
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    QCOMPARE(qApp->devicePixelRatio(), scale);
}

void tst_HighDpi::cleanup() {
    testsupport::unloadAllWindows();
}

void tst_HighDpi::captionsFit_data() {
    QTest::addColumn<QString>("window");
    for (const char* window : {"frmMainfrm", "frmSplash", "frmOptions", "frmAbout"})
        QTest::newRow(window) << window;
}

void tst_HighDpi::captionsFit() {
    QFETCH(QString, window);
    testsupport::FakeMessageBox box;
    QUORVEX_VERIFY_LAYOUT(shownWindow(window));
}

// Smoothing would blend the picture's colours into new ones.
void tst_HighDpi::horseDrawnPixelForPixel() {
    testsupport::resultsInProgramFolder();
    frmMainfrm& main = frmMainfrm::instance().show();
    QWidget* horse = platform::qt::widget(main.picHorse);
    const QImage drawn = horse->grab().toImage();
    QCOMPARE(drawn.size(), horse->size() * qApp->devicePixelRatio());
    QSet<QRgb> allowed{horse->palette().color(QPalette::Window).rgb()};
    const QImage picture = pictures::horse().toImage();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(picture.pixel(x, y)) == 255)
                allowed.insert(picture.pixel(x, y));
    QSet<QRgb> found;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            found.insert(drawn.pixel(x, y) | 0xFF000000u);
    QVERIFY2(allowed.contains(found), qPrintable(QString::number(found.size()) + " colours"));
    QVERIFY(found.size() > 2);
}

QUORVEX_TEST_MAIN(tst_HighDpi)
#include "tst_HighDpi.moc"
