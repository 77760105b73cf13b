#include "platform/EventGuard.h"
#include "platform/WindowInstance.h"
#include "tests/support/FakeMessageBox.h"
#include "tests/support/TestEnvironment.h"

#include <QLineEdit>

namespace {

class Probe : public QWidget {
public:
    Probe() {
        edit = new QLineEdit(QStringLiteral("design"), this);
        ++created;
    }
    void Form_Load() { ++loads; }
    QLineEdit* edit;
    static inline int created = 0;
    static inline int loads = 0;
};

platform::WindowInstance<Probe>& probe() {
    static platform::WindowInstance<Probe> instance;
    return instance;
}

} // namespace

class tst_WindowInstance : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testsupport::unloadAllWindows();
        Probe::created = Probe::loads = 0;
    }
    void loadRunsFormLoadOnce();
    void hideKeepsValuesUnloadStartsAfresh();
    void unloadInsideOwnHandlerIsSafe();
    void showOnlyBringsToFront();
    void guardShowsNumberAndDescription();
};

void tst_WindowInstance::loadRunsFormLoadOnce() {
    QVERIFY(!probe().isLoaded());
    probe().load();
    probe().load();
    probe().show();
    QCOMPARE(Probe::created, 1);
    QCOMPARE(Probe::loads, 1);
    QVERIFY(probe().isVisible());
}

void tst_WindowInstance::hideKeepsValuesUnloadStartsAfresh() {
    probe().show().edit->setText(QStringLiteral("typed"));
    probe().hide();
    QVERIFY(!probe().isVisible());
    QCOMPARE(probe().load().edit->text(), QStringLiteral("typed"));
    probe().unload();
    QVERIFY(!probe().isLoaded());
    QCOMPARE(probe().load().edit->text(), QStringLiteral("design"));
    QCOMPARE(Probe::loads, 2);
}

void tst_WindowInstance::unloadInsideOwnHandlerIsSafe() {
    Probe& window = probe().show();
    QPointer<Probe> old(&window);
    QObject::connect(window.edit, &QLineEdit::returnPressed, &window, [] { probe().unload(); });
    QTest::keyClick(window.edit, Qt::Key_Return);
    QVERIFY(!probe().isLoaded());
    QVERIFY(old); // still alive until control returns to the event loop
    QVERIFY(!old->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!old);
}

void tst_WindowInstance::showOnlyBringsToFront() {
    Probe& first = probe().show();
    Probe& second = probe().show();
    QCOMPARE(&first, &second);
    QVERIFY(!first.parentWidget()); // modeless, no owner
}

void tst_WindowInstance::guardShowsNumberAndDescription() {
    testsupport::FakeMessageBox box;
    bool after = false;
    platform::guarded([&] {
        throw platform::RuntimeError::of(platform::RuntimeError::PathNotFound);
        after = true;
    });
    QVERIFY(!after);
    QCOMPARE(box.okTexts, QStringList{"Run-time error '76':\n\nPath not found"});
}

QUORVEX_TEST_MAIN(tst_WindowInstance)
#include "tst_WindowInstance.moc"
