#include "tests/support/FormChecks.h"
#include "tests/support/ResultsFolder.h"
#include "tests/support/ServiceDoubles.h"
#include "tests/support/TestEnvironment.h"
#include "ui/about/frmAbout.h"
#include "ui/main/frmMainfrm.h"
#include "ui/options/frmOptions.h"
#include "ui/splash/frmSplash.h"

#include "platform/nix/Pictures.h"
#include "platform/nix/QtWindow.h"
#include "resources/Pictures.h"

// Run with QT_SCALE_FACTOR set: on a high-density screen every caption is still whole.
class tst_HighDpi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void captionsFit_data();
    void captionsFit();
    void picturesWholeAtTheScale_data();
    void picturesWholeAtTheScale();
    void pictureTooLargeForItsBoxMadeSmaller();

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

void tst_HighDpi::picturesWholeAtTheScale_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QByteArray>("control");
    QTest::addColumn<bool>("horse");     // else the program's icon
    QTest::addColumn<bool>("stretched"); // over its whole box
    QTest::newRow("horse") << "frmMainfrm" << QByteArray("picHorse") << true << false;
    QTest::newRow("About icon") << "frmAbout" << QByteArray("picIcon") << false << false;
    QTest::newRow("splash logo") << "frmSplash" << QByteArray("imgLogo") << false << true;
}

// What is drawn is the picture scaled by the ratio to whole device pixels, each device pixel the
// picture pixel under its centre, all of it inside the box: nothing cut, smoothed or unscaled.
void tst_HighDpi::picturesWholeAtTheScale() {
    QFETCH(QString, window);
    QFETCH(QByteArray, control);
    QFETCH(bool, horse);
    QFETCH(bool, stretched);
    testsupport::FakeMessageBox box;
    QWidget* widget = platform::qt::widget(platform::Control(shownWindow(window), control));
    const qreal ratio = qApp->devicePixelRatio();
    const QImage drawn = widget->grab().toImage();
    const QImage picture = (horse ? pictures::horse() : pictures::programIcon()).toImage();
    const QRectF room(QPointF(widget->contentsRect().topLeft()) * ratio,
                      QSizeF(widget->contentsRect().size()) * ratio);
    const QSize size = (stretched ? room.size() : QSizeF(picture.size()) * ratio).toSize();
    const QPointF centred = room.center() - QPointF(size.width(), size.height()) / 2;
    // The horse at its box's corner, the icon centred in its sunken box, the logo filling its.
    const QPoint at = horse ? room.topLeft().toPoint() : centred.toPoint();
    QVERIFY2(QRect(QPoint(), drawn.size()).contains(QRect(at, size)),
             qPrintable(QStringLiteral("%1x%2 cut").arg(size.width()).arg(size.height())));
    const QRgb background = widget->palette().color(QPalette::Window).rgb();
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QRgb wanted = picture.pixel(int((x + 0.5) * picture.width() / size.width()),
                                              int((y + 0.5) * picture.height() / size.height()));
            const QRgb seen = drawn.pixel(at + QPoint(x, y)) | 0xFF000000u;
            if (seen != (qAlpha(wanted) == 255 ? wanted : background))
                QFAIL(qPrintable(QStringLiteral("%1 at %2,%3 of %4x%5")
                                     .arg(seen, 8, 16)
                                     .arg(x)
                                     .arg(y)
                                     .arg(size.width())
                                     .arg(size.height())));
        }
}

// Rather than cut: the largest size the box holds, the picture's shape kept.
void tst_HighDpi::pictureTooLargeForItsBoxMadeSmaller() {
    const qreal ratio = qApp->devicePixelRatio();
    const platform::PictureWidget widget(pictures::horse(), false, false, nullptr);
    const int side = qRound(8 * ratio);
    QCOMPARE(widget.drawn(ratio, QSize(12, 8)).size(), QSize(side, side));
}

QUORVEX_TEST_MAIN(tst_HighDpi)
#include "tst_HighDpi.moc"
