#include "platform/nix/QtWindow.h"
#include "tests/support/ServiceDoubles.h"
#include "tests/support/TestEnvironment.h"
#include "ui/about/frmAbout.h"
#include "ui/main/frmMainfrm.h"
#include "ui/options/frmOptions.h"
#include "ui/splash/frmSplash.h"

#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>

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

QWidget* loadedWindow(const QString& name) {
    if (name == u"frmMainfrm")
        return platform::qt::widget(frmMainfrm::instance().load());
    if (name == u"frmSplash")
        return platform::qt::widget(frmSplash::instance().load());
    if (name == u"frmOptions")
        return platform::qt::widget(frmOptions::instance().load());
    return platform::qt::widget(frmAbout::instance().load());
}

// Where the caption lands when drawn, in the control's own coordinates, and where it must stay.
struct Caption {
    QRect extent;
    QRect room;
};

Caption labelCaption(const QLabel* label) {
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QRect room = label->contentsRect();
    return {label->fontMetrics().boundingRect(room, flags, label->text()), room};
}

Caption buttonCaption(const QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect room =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const QRect extent = button->fontMetrics().boundingRect(
        room, Qt::AlignCenter | Qt::TextShowMnemonic, button->text());
    // The text may reach into the bevel vertically, but not past the button's edge.
    return {extent, QRect(room.left(), 0, room.width(), button->height())};
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
    QWidget* w = loadedWindow(window);
    int checked = 0;
    const auto check = [&](QWidget* control, Caption caption) {
        ++checked;
        QVERIFY2(caption.room.contains(caption.extent),
                 qPrintable(control->objectName() + QStringLiteral(" cut")));
    };
    for (QLabel* label : w->findChildren<QLabel*>())
        if (!label->text().isEmpty())
            check(label, labelCaption(label));
    for (QPushButton* button : w->findChildren<QPushButton*>())
        check(button, buttonCaption(button));
    QVERIFY(checked > 0);
}

QUORVEX_TEST_MAIN(tst_HighDpi)
#include "tst_HighDpi.moc"
