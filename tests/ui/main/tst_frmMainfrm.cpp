#include "calc/NumberText.h"
#include "platform/Pause.h"
#include "platform/nix/LineControl.h"
#include "platform/nix/QtWindow.h"
#include "platform/nix/Twips.h"
#include "tests/support/FormChecks.h"
#include "tests/support/ResultsFolder.h"
#include "tests/support/ServiceDoubles.h"
#include "tests/support/TestEnvironment.h"
#include "ui/about/frmAbout.h"
#include "ui/main/frmMainfrm.h"
#include "ui/options/frmOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>

#include <utility>

namespace twips = platform::twips;
namespace qt = platform::qt;
using platform::ControlDesign;
using platform::ControlKind;

namespace {

QMainWindow* topOf(const platform::Form& form) {
    return qobject_cast<QMainWindow*>(qt::widget(form));
}

QRect pixelsOf(const platform::TwipsRect& r) {
    return twips::toPixels(r.left, r.top, r.width, r.height);
}

bool isMenu(const ControlDesign& design) {
    return design.kind == ControlKind::Menu || design.kind == ControlKind::MenuItem;
}

// The key that a caption's access-key marker names.
Qt::Key accessKeyOf(const char* caption) {
    const QString text = QString::fromUtf8(caption);
    const qsizetype marker = text.indexOf(u'&');
    return marker < 0 || marker + 1 >= text.size()
               ? Qt::Key_unknown
               : Qt::Key(text.at(marker + 1).toUpper().unicode());
}

// Records where the horse stood each time a step was shown.
class RaceRecorder : private platform::Waiter {
public:
    explicit RaceRecorder(frmMainfrm& w) : m_window(w), m_previous(install(this)) {}
    ~RaceRecorder() override { install(m_previous); }
    RaceRecorder(const RaceRecorder&) = delete;
    RaceRecorder& operator=(const RaceRecorder&) = delete;

    QList<int> twipsLefts;
    QList<int> pixelLefts;

private:
    void waitUntil(platform::Deadline) override {
        twipsLefts.append(m_window.horseLeftTwips());
        pixelLefts.append(qt::widget(m_window.picHorse)->x());
    }

    frmMainfrm& m_window;
    platform::Waiter* m_previous;
};

// Input that reaches the window while the race runs, queued as the window system queues it: the
// events given are posted to the widget at the race's first step.
class QueuedDuringRace : private platform::Waiter {
public:
    explicit QueuedDuringRace(QWidget* target, QList<QEvent*> events)
        : m_target(target), m_events(std::move(events)), m_previous(install(this)) {}
    ~QueuedDuringRace() override { install(m_previous); }
    QueuedDuringRace(const QueuedDuringRace&) = delete;
    QueuedDuringRace& operator=(const QueuedDuringRace&) = delete;

private:
    void waitUntil(platform::Deadline) override {
        for (QEvent* event : std::exchange(m_events, {}))
            QCoreApplication::postEvent(m_target, event);
    }

    QWidget* m_target;
    QList<QEvent*> m_events;
    platform::Waiter* m_previous;
};

QList<QEvent*> pressAndRelease(const QString& input, QWidget* button) {
    if (input == QLatin1String("key"))
        return {
            new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" ")),
            new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "))};
    const QPointF at = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(at);
    return {new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                            Qt::NoModifier),
            new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier)};
}

} // namespace

class tst_frmMainfrm : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstAppearance();
    void builtFromItsTable();
    void controlsInsideTheClientAreaAndApart();
    void maximizeKeepsPlaces();
    void tabOrder();
    void calculateByKeyboardAndMouse_data();
    void calculateByKeyboardAndMouse();
    void pressDuringTheRaceSettlesNothing_data();
    void pressDuringTheRaceSettlesNothing();
    void horseRunsAlongItsTrack();
    void errorIsShownAndProgramGoesOn_data();
    void errorIsShownAndProgramGoesOn();
    void reset_data();
    void reset();
    void exitEndsProgram();
    void closeButtonEndsProgram();
    void menuAccessKeys_data();
    void menuAccessKeys();

private:
    frmMainfrm& shown();

    testsupport::FakeMessageBox* m_box = nullptr;
    testsupport::TestEnvironment* m_env = nullptr;
};

void tst_frmMainfrm::init() {
    m_box = new testsupport::FakeMessageBox;
    m_env = new testsupport::TestEnvironment;
}

void tst_frmMainfrm::cleanup() {
    testsupport::unloadAllWindows();
    delete m_env;
    delete m_box;
}

frmMainfrm& tst_frmMainfrm::shown() {
    testsupport::resultsInProgramFolder();
    frmMainfrm& window = frmMainfrm::instance().show();
    if (!QTest::qWaitForWindowActive(qt::widget(window)))
        qWarning("window did not become active");
    return window;
}

void tst_frmMainfrm::firstAppearance() {
    frmMainfrm& w = shown();
    QVERIFY(!qt::widget(w.lbl1win)->isVisible());
    QVERIFY(!qt::widget(w.lblLose)->isVisible());
    QCOMPARE(qt::widget<QComboBox>(w.cmbWin)->currentText(), QStringLiteral("Yes"));
    for (const platform::Control* amount : {&w.txtStakebet, &w.txtWinnings, &w.txtOrigstake,
                                            &w.txtTotal, &w.txtGrandtot, &w.txtRunning})
        QCOMPARE(qt::widget<QLineEdit>(*amount)->text(), QStringLiteral("0.00"));
    QCOMPARE(qt::widget<QComboBox>(w.txtLower)->currentText(), QStringLiteral("1"));
    QCOMPARE(qt::widget<QComboBox>(w.txtUpper)->currentText(), QStringLiteral("1"));
    QVERIFY(!qt::widget<QCheckBox>(w.chkOdds)->isChecked());
    QCOMPARE(QApplication::focusWidget(), qt::widget(w.txtStakebet));
}

// The front end builds exactly what the window's one table says, before the load step runs.
void tst_frmMainfrm::builtFromItsTable() {
    frmMainfrm designed;
    const platform::FormDesign& form = frmMainfrm::design();
    QMainWindow* top = topOf(designed);
    QVERIFY(top);
    top->show();
    QVERIFY(QTest::qWaitForWindowExposed(top));
    QCOMPARE(top->windowTitle(), QString::fromUtf8(form.caption));
    QUORVEX_VERIFY_LAYOUT(designed);

    QList<QAction*> menus;
    for (int row = 0; row < int(form.controls.size()); ++row) {
        const ControlDesign& design = form.controls[std::size_t(row)];
        const platform::Control control(designed, design.name, design.index);
        QCOMPARE(control.row(), row);
        const QString name = QString::fromUtf8(design.name);
        const QString text = QString::fromUtf8(design.text);
        if (isMenu(design)) {
            QAction* action = qt::action(control);
            QVERIFY2(action, qPrintable(name));
            QCOMPARE(action->text(), text);
            if (design.kind == ControlKind::Menu) {
                menus.append(action);
            } else {
                const platform::Control menu(designed, design.container.name);
                QVERIFY2(QMenu::menuInAction(qt::action(menu))->actions().contains(action),
                         qPrintable(name));
            }
            continue;
        }
        QWidget* widget = qt::widget(control);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(widget->objectName(), name);
        if (auto* line = qobject_cast<platform::LineControl*>(widget))
            QCOMPARE(line->lineWidth(), design.lineWidth);
        QCOMPARE(widget->toolTip(), QString::fromUtf8(design.toolTip ? design.toolTip : ""));
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            QCOMPARE(edit->text(), text);
            QCOMPARE(edit->isReadOnly(), design.readOnly);
        } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
            QCOMPARE(box->isEditable(), design.kind == ControlKind::ComboBox);
            QStringList items;
            for (const char* item : design.items)
                items << QString::fromUtf8(item);
            QStringList shown;
            for (int i = 0; i < box->count(); ++i)
                shown << box->itemText(i);
            QCOMPARE(shown, items);
            QCOMPARE(box->currentText(), text);
        } else if (auto* label = qobject_cast<QLabel*>(widget);
                   label && design.kind == ControlKind::Label) {
            QCOMPARE(label->text(), text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            QCOMPARE(button->text(), text);
        }
    }
    QCOMPARE(top->menuBar()->actions(), menus);
}

// As the window is shown, after its load step.
void tst_frmMainfrm::controlsInsideTheClientAreaAndApart() {
    QUORVEX_VERIFY_LAYOUT(shown());
}

void tst_frmMainfrm::maximizeKeepsPlaces() {
    frmMainfrm& w = shown();
    QMainWindow* top = topOf(w);
    const int designWidth = top->centralWidget()->width();
    QList<QPair<QWidget*, QRect>> before;
    for (QWidget* child : top->centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        before.append({child, child->geometry()});
    // The offscreen platform does not maximize; growing the window checks the same.
    top->resize(top->width() * 2, top->height() * 2);
    QCoreApplication::processEvents();
    QVERIFY(top->centralWidget()->width() > designWidth);
    for (const auto& [child, geometry] : before)
        QCOMPARE(child->geometry(), geometry);
}

void tst_frmMainfrm::tabOrder() {
    frmMainfrm& w = shown();
    QWidget* client = topOf(w)->centralWidget();
    const QStringList expected{"txtLower",     "txtUpper",   "chkOdds",        "txtWinnings",
                               "txtOrigstake", "txtTotal",   "cmdCalculate",   "cmbWin",
                               "txtGrandtot",  "cmdReset",   "cmdSaveresults", "txtPrevious",
                               "txtRunning",   "txtStakebet"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // An editable combo box's line edit holds the focus on the combo box's behalf.
        while (focus && focus->parentWidget() != client)
            focus = focus->parentWidget();
        visited << (focus ? focus->objectName() : QString());
    }
    QCOMPARE(visited, expected);
}

void tst_frmMainfrm::calculateByKeyboardAndMouse_data() {
    QTest::addColumn<QString>("stake");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<bool>("oddsOn");
    QTest::addColumn<bool>("won");
    QTest::addColumn<QString>("origstake");
    QTest::addColumn<QString>("winnings");
    QTest::addColumn<QString>("total");
    // clang-format off
    QTest::newRow("won") << "10" << "5" << "2" << false << true << "10" << "25.00" << " 35";
    QTest::newRow("lost") << "10" << "5" << "2" << false << false << "-10" << "0.00" << "-10";
    QTest::newRow("odds-on") << "10" << "2" << "5" << true << true << "10" << "25.00" << " 35";
    QTest::newRow("half stake") << "10.5" << "1" << "3" << false << true << "10.5" << "3.50" << " 14";
    // clang-format on
}

void tst_frmMainfrm::calculateByKeyboardAndMouse() {
    QFETCH(QString, stake);
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(bool, oddsOn);
    QFETCH(bool, won);

    frmMainfrm& w = shown();
    w.txtPrevious.setText(""); // no results file yet
    auto* stakeField = qt::widget<QLineEdit>(w.txtStakebet);
    auto* lowerField = qt::widget<QComboBox>(w.txtLower);
    auto* upperField = qt::widget<QComboBox>(w.txtUpper);
    auto* check = qt::widget<QCheckBox>(w.chkOdds);
    auto* win = qt::widget<QComboBox>(w.cmbWin);
    auto* calculate = qt::widget<QPushButton>(w.cmdCalculate);
    stakeField->selectAll();
    QTest::keyClicks(stakeField, stake);
    lowerField->lineEdit()->selectAll();
    QTest::keyClicks(lowerField->lineEdit(), lower);
    upperField->lineEdit()->selectAll();
    QTest::keyClicks(upperField->lineEdit(), upper);
    if (oddsOn)
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
    if (!won) {
        win->setFocus();
        QTest::keyClick(win, Qt::Key_Down);
    }
    QCOMPARE(check->isChecked(), oddsOn);
    QCOMPARE(win->currentText(), won ? QStringLiteral("Yes") : QStringLiteral("No"));

    QTest::mouseClick(calculate, Qt::LeftButton);
    QCOMPARE(qt::widget(w.lbl1win)->isVisible(), won);
    QCOMPARE(qt::widget(w.lblLose)->isVisible(), !won);
    QTEST(qt::widget<QLineEdit>(w.txtOrigstake)->text(), "origstake");
    QTEST(qt::widget<QLineEdit>(w.txtWinnings)->text(), "winnings");
    QTEST(qt::widget<QLineEdit>(w.txtTotal)->text(), "total");
    QTEST(qt::widget<QLineEdit>(w.txtGrandtot)->text(), "total");
    QTEST(qt::widget<QLineEdit>(w.txtRunning)->text(), "total");

    // A second press carries the race total into the grand total again.
    QTest::mouseClick(calculate, Qt::LeftButton);
    QCOMPARE(w.txtGrandtot.text(), FormatPlainAmount(2 * ReadAmount(w.txtTotal.text())));
    QVERIFY(m_box->okTexts.empty());
}

void tst_frmMainfrm::pressDuringTheRaceSettlesNothing_data() {
    QTest::addColumn<QString>("input");
    QTest::newRow("click") << "click";
    QTest::newRow("Space") << "key";
}

// Stake 10 at 1 to 1, won: one race total of 20 for the press that started the race, none for
// the press made while it ran; the button works again once it is over.
void tst_frmMainfrm::pressDuringTheRaceSettlesNothing() {
    QFETCH(QString, input);
    frmMainfrm& w = shown();
    w.txtStakebet.setText("10");
    auto* calculate = qt::widget<QPushButton>(w.cmdCalculate);
    {
        QueuedDuringRace queued(calculate, pressAndRelease(input, calculate));
        QTest::mouseClick(calculate, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    QCOMPARE(w.txtGrandtot.text(), std::string(" 20"));
    QTest::mouseClick(calculate, Qt::LeftButton);
    QCOMPARE(w.txtGrandtot.text(), std::string(" 40"));
}

// Each step is shown where the horse stands, in even steps to the right along its track, and
// every run starts again from the design position.
void tst_frmMainfrm::horseRunsAlongItsTrack() {
    frmMainfrm& w = shown();
    const QRect design = pixelsOf(w.picHorse.design().rect);
    QWidget* horse = qt::widget(w.picHorse);
    QWidget* client = topOf(w)->centralWidget();
    QList<int> firstRun;
    for (int run = 0; run < 2; ++run) {
        RaceRecorder race(w);
        QTest::mouseClick(qt::widget(w.cmdCalculate), Qt::LeftButton);
        QVERIFY(race.twipsLefts.size() > 1);
        const int step = race.twipsLefts[1] - race.twipsLefts[0];
        QVERIFY(step > 0);
        QCOMPARE(race.twipsLefts.first() - step, w.picHorse.design().rect.left);
        for (qsizetype i = 0; i < race.twipsLefts.size(); ++i) {
            QCOMPARE(race.pixelLefts[i], twips::toPixels(race.twipsLefts[i]));
            if (i > 0)
                QCOMPARE(race.twipsLefts[i] - race.twipsLefts[i - 1], step);
        }
        QCOMPARE(horse->geometry(), design.translated(horse->x() - design.x(), 0));
        QVERIFY(client->rect().contains(horse->geometry()));
        if (run == 0)
            firstRun = race.twipsLefts;
        else
            QCOMPARE(race.twipsLefts, firstRun);
    }
}

void tst_frmMainfrm::errorIsShownAndProgramGoesOn_data() {
    QTest::addColumn<QString>("stake");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("grand");
    QTest::addColumn<QString>("message");
    // clang-format off
    QTest::newRow("empty divisor") << "10" << "" << "0.00" << "Run-time error '11':\n\nDivision by zero";
    QTest::newRow("zero divisor") << "10" << "0" << "0.00" << "Run-time error '11':\n\nDivision by zero";
    QTest::newRow("stake too large") << "1e999" << "1" << "0.00" << "Run-time error '6':\n\nOverflow";
    QTest::newRow("overflowing sum") << "1e308" << "1" << "1.7e308" << "Run-time error '6':\n\nOverflow";
    // clang-format on
}

void tst_frmMainfrm::errorIsShownAndProgramGoesOn() {
    QFETCH(QString, stake);
    QFETCH(QString, upper);
    QFETCH(QString, grand);
    frmMainfrm& w = shown();
    w.txtStakebet.setText(stake.toStdString());
    w.txtUpper.setText(upper.toStdString());
    w.txtGrandtot.setText(grand.toStdString());
    w.txtRunning.setText("kept");

    QTest::mouseClick(qt::widget(w.cmdCalculate), Qt::LeftButton);
    QFETCH(QString, message);
    QCOMPARE(testsupport::toQt(m_box->okTexts), QStringList{message});
    QCOMPARE(m_env->ends, 0);
    QVERIFY(frmMainfrm::instance().isVisible());
    QVERIFY(qt::widget(w.lbl1win)->isVisible()); // the steps done before the error stay done
    QCOMPARE(qt::widget<QLineEdit>(w.txtOrigstake)->text(), stake);
    QCOMPARE(qt::widget<QLineEdit>(w.txtGrandtot)->text(), grand);
    QCOMPARE(qt::widget<QLineEdit>(w.txtRunning)->text(), QStringLiteral("kept"));

    // The window still works afterwards.
    m_box->clear();
    w.txtStakebet.setText("10");
    w.txtUpper.setText("2");
    w.txtLower.setText("5");
    w.txtGrandtot.setText("0.00");
    QTest::mouseClick(qt::widget(w.cmdCalculate), Qt::LeftButton);
    QVERIFY(m_box->okTexts.empty());
    QCOMPARE(qt::widget<QLineEdit>(w.txtTotal)->text(), QStringLiteral(" 35"));
}

void tst_frmMainfrm::reset_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("grandAfter");
    QTest::newRow("yes") << true << "0.00";
    QTest::newRow("no") << false << " 35";
}

void tst_frmMainfrm::reset() {
    QFETCH(bool, yes);
    frmMainfrm& w = shown();
    w.txtStakebet.setText("10");
    w.txtLower.setText("5");
    w.txtUpper.setText("2");
    w.txtPrevious.setText("");
    QTest::mouseClick(qt::widget(w.cmdCalculate), Qt::LeftButton);

    m_box->answers.push_back(yes);
    QTest::mouseClick(qt::widget(w.cmdReset), Qt::LeftButton);
    QCOMPARE(testsupport::toQt(m_box->questions),
             QStringList{"Are you sure you want to completely reset your figures?"});
    QTEST(qt::widget<QLineEdit>(w.txtGrandtot)->text(), "grandAfter");
    // Nothing else changes until the next Calculate.
    QCOMPARE(qt::widget<QLineEdit>(w.txtRunning)->text(), QStringLiteral(" 35"));
    QCOMPARE(qt::widget<QLineEdit>(w.txtTotal)->text(), QStringLiteral(" 35"));
    QVERIFY(qt::widget(w.lbl1win)->isVisible());
}

void tst_frmMainfrm::exitEndsProgram() {
    frmMainfrm& w = shown();
    const QPointer<QWidget> top = qt::widget(w);
    qt::action(w.cmdExit)->trigger();
    QCOMPARE(m_env->ends, 1);
    QVERIFY(!frmMainfrm::instance().isLoaded());
    QVERIFY(!top || !top->isVisible());
}

void tst_frmMainfrm::closeButtonEndsProgram() {
    const QPointer<QWidget> top = qt::widget(shown());
    top->close();
    QCOMPARE(m_env->ends, 1);
    QVERIFY(!frmMainfrm::instance().isLoaded());
    QVERIFY(!top || !top->isVisible());
}

void tst_frmMainfrm::menuAccessKeys_data() {
    QTest::addColumn<QString>("entry");
    QTest::newRow("Exit") << "cmdExit";
    QTest::newRow("Paths") << "mnuPath";
    QTest::newRow("About") << "cmdAbout";
}

// Alt and the menu's access key open it; the entry's access key then runs the entry.
void tst_frmMainfrm::menuAccessKeys() {
    QFETCH(QString, entry);
    frmMainfrm& w = shown();
    const QByteArray entryName = entry.toUtf8();
    const platform::Control item(w, entryName.constData());
    const platform::Control menu(w, item.design().container.name);

    QTest::keyClick(qt::widget(w), accessKeyOf(menu.design().text), Qt::AltModifier);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(popup);
    QCOMPARE(popup, QMenu::menuInAction(qt::action(menu)));
    QTest::keyClick(popup, accessKeyOf(item.design().text));

    const bool exits = entry == u"cmdExit";
    QCOMPARE(m_env->ends, exits ? 1 : 0);
    QCOMPARE(frmMainfrm::instance().isLoaded(), !exits);
    QCOMPARE(frmOptions::instance().isVisible(), entry == u"mnuPath");
    QCOMPARE(frmAbout::instance().isVisible(), entry == u"cmdAbout");
}

QUORVEX_TEST_MAIN(tst_frmMainfrm)
#include "tst_frmMainfrm.moc"
