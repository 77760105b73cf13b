#include "tests/support/FormChecks.h"
#include "tests/support/ServiceDoubles.h"
#include "tests/support/TestEnvironment.h"
#include "ui/about/frmAbout.h"
#include "ui/main/frmMainfrm.h"
#include "ui/options/frmOptions.h"
#include "ui/splash/frmSplash.h"

// Run with QT_SCALE_FACTOR set: on a high-density screen every caption is still whole.
class tst_HighDpi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void captionsFit_data();
    void captionsFit();
};

namespace {

platform::Form& shownWindow(const QString& name) {
    if (name == u"frmMainfrm")
        return frmMainfrm::instance().show();
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

QUORVEX_TEST_MAIN(tst_HighDpi)
#include "tst_HighDpi.moc"
