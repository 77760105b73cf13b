#include "platform/EventGuard.h"
#include "platform/WindowInstance.h"
#include "platform/nix/QtWindow.h"
#include "tests/support/ServiceDoubles.h"
#include "tests/support/TestEnvironment.h"

#include <QLineEdit>
#include <QPointer>

namespace {

using platform::ControlKind;

constexpr platform::ControlDesign probeControls[] = {
    {.name = "edit", .kind = ControlKind::TextBox, .rect = {120, 120, 1500, 285}, .text = "design"},
};

// Keys reach its handler, which unloads the window on Enter, as a dialog's own button would.
constexpr platform::FormDesign probeForm{
    .name = "probe",
    .caption = "Probe",
    .style = platform::FormStyle::FixedDialog,
    .clientWidth = 1800,
    .clientHeight = 600,
    .keyPreview = true,
    .controls = probeControls,
};

class Probe;
platform::WindowInstance<Probe>& probe();

class Probe : public platform::Form {
public:
    Probe() : Form(probeForm) { ++created; }
    ~Probe() override { ++destroyed; }

    platform::Control edit{*this, "edit"};

    void Form_Load() { ++loads; }

    static inline int created = 0;
    static inline int destroyed = 0;
    static inline int loads = 0;
    // The text the handler still read after unloading its own window.
    static inline std::string readAfterUnload;

private:
    void dispatch(const platform::Event& event) override {
        if (event.kind != platform::Event::KeyPress || event.keyCode != '\r')
            return;
        probe().unload();
        readAfterUnload = edit.text();
    }
};

platform::WindowInstance<Probe>& probe() {
    static platform::WindowInstance<Probe> instance;
    return instance;
}

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

QLineEdit* editor(Probe& window) {
    return platform::qt::widget<QLineEdit>(window.edit);
}

} // namespace

class tst_WindowInstance : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testsupport::unloadAllWindows();
        Probe::created = Probe::destroyed = Probe::loads = 0;
        Probe::readAfterUnload.clear();
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
    QVERIFY(!probe().isVisible());
    probe().load();
    probe().show();
    QCOMPARE(Probe::created, 1);
    QCOMPARE(Probe::loads, 1);
    QVERIFY(probe().isVisible());
    QVERIFY(platform::qt::widget(*probe().loaded())->isVisible());
}

void tst_WindowInstance::hideKeepsValuesUnloadStartsAfresh() {
    Probe& shown = probe().show();
    editor(shown)->selectAll();
    QTest::keyClicks(editor(shown), QStringLiteral("typed"));
    shown.window().hide();
    QVERIFY(!probe().isVisible());
    QCOMPARE(q(probe().load().edit.text()), QStringLiteral("typed"));
    probe().unload();
    QVERIFY(!probe().isLoaded());
    QCOMPARE(Probe::destroyed, 1);
    QCOMPARE(q(probe().load().edit.text()), QStringLiteral("design"));
    QCOMPARE(Probe::loads, 2);
}

void tst_WindowInstance::unloadInsideOwnHandlerIsSafe() {
    Probe& window = probe().show();
    QPointer<QWidget> top = platform::qt::widget(window);
    QTest::keyClick(editor(window), Qt::Key_Return);

    QVERIFY(!probe().isLoaded());
    // The handler went on using its window after the unload; it went once the key was handled.
    QCOMPARE(q(Probe::readAfterUnload), QStringLiteral("design"));
    QCOMPARE(Probe::destroyed, 1);
    // Its widget, which was delivering the key, goes at the event loop's next turn.
    QVERIFY(top);
    QVERIFY(!top->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!top);
}

void tst_WindowInstance::showOnlyBringsToFront() {
    Probe& first = probe().show();
    Probe& second = probe().show();
    QCOMPARE(&first, &second);
    QCOMPARE(Probe::created, 1);
    QWidget* top = platform::qt::widget(first);
    QVERIFY(!top->parentWidget()); // modeless, no owner
    QVERIFY(!top->isModal());
}

void tst_WindowInstance::guardShowsNumberAndDescription() {
    testsupport::FakeMessageBox box;
    bool after = false;
    platform::guarded([&] {
        throw platform::RuntimeError::of(platform::RuntimeError::PathNotFound);
        after = true;
    });
    QVERIFY(!after);
    QCOMPARE(testsupport::toQt(box.okTexts), QStringList{"Run-time error '76':\n\nPath not found"});
}

QUORVEX_TEST_MAIN(tst_WindowInstance)
#include "tst_WindowInstance.moc"
