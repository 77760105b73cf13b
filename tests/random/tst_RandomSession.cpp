// A long session of random user actions on the real windows. The program must never end, and
// every Calculate that completes must leave the totals consistent. The seed comes from
// QUORVEX_RANDOM_SEED and the number of actions from QUORVEX_RANDOM_STEPS; a failure names the
// seed that replays it.
#include "calc/NumberText.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/nix/QtWindow.h"
#include "results/ResultsFile.h"
#include "tests/support/ServiceDoubles.h"
#include "tests/support/TestEnvironment.h"
#include "ui/about/frmAbout.h"
#include "ui/main/frmMainfrm.h"
#include "ui/options/frmOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <random>

namespace qt = platform::qt;
using platform::RuntimeError;

namespace {

quint64 environmentNumber(const char* name, quint64 fallback) {
    bool ok = false;
    const quint64 value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

QString errorText(RuntimeError::Number number) {
    return QString::fromStdString(platform::runtimeErrorText(RuntimeError::of(number)));
}

QString textOf(const platform::Control& control) {
    return QString::fromStdString(control.text());
}

class Session {
public:
    Session(quint64 seed, const QString& folder) : m_rng(seed), m_seed(seed), m_folder(folder) {}

    // Runs the actions; the empty text, or what went wrong first.
    QString run(int steps);

    // What the session did, so that a change that stops it reaching its goals is noticed.
    int settled = 0, stopped = 0, saved = 0;

private:
    std::size_t pick(std::size_t count) { return std::size_t(m_rng() % count); }
    bool chance(int percent) { return int(pick(100)) < percent; }

    QString randomText();
    void type(QWidget* field, const QString& text, bool replace);
    void setFolder(const QString& folder);

    void performRandomAction();
    void typeIntoField();
    void tickCheckBox();
    void chooseWin();
    void calculate();
    void reset();
    void save();
    void paths();
    void about();

    // Records a broken expectation; the first one ends the session.
    void expect(bool condition, const QString& what) {
        if (!condition && m_failure.isEmpty())
            m_failure = what;
    }
    // The boxes shown since the last call.
    QStringList newBoxes() {
        const QStringList shown = testsupport::toQt(m_box.okTexts).mid(m_seenBoxes);
        m_seenBoxes = qsizetype(m_box.okTexts.size());
        return shown;
    }
    void log(const QString& action) {
        m_log.append(action);
        if (m_log.size() > 12)
            m_log.removeFirst();
    }

    std::mt19937_64 m_rng;
    quint64 m_seed;
    QString m_folder;
    testsupport::FakeMessageBox m_box;
    testsupport::TestEnvironment m_env;
    qsizetype m_seenBoxes = 0;
    QStringList m_log;
    QString m_failure;
    frmMainfrm* w = nullptr;
};

// Picks an action with the odds of a user's day: mostly typing and Calculate.
void Session::performRandomAction() {
    struct Action {
        int weight;
        void (Session::*perform)();
    };
    static constexpr Action actions[] = {{8, &Session::typeIntoField}, {1, &Session::tickCheckBox},
                                         {1, &Session::chooseWin},     {5, &Session::calculate},
                                         {1, &Session::reset},         {1, &Session::save},
                                         {2, &Session::paths},         {1, &Session::about}};
    int total = 0;
    for (const Action& action : actions)
        total += action.weight;
    int roll = int(pick(std::size_t(total)));
    for (const Action& action : actions) {
        if (roll < action.weight) {
            (this->*action.perform)();
            return;
        }
        roll -= action.weight;
    }
}

QString Session::run(int steps) {
    setFolder(m_folder);
    w = &frmMainfrm::instance().show();
    for (int step = 0; step < steps && m_failure.isEmpty(); ++step) {
        performRandomAction();
        // Back in the event loop: windows unloaded by their own handlers go now.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        expect(m_env.ends == 0, "the program ended");
        expect(frmMainfrm::instance().isVisible(), "the main window is gone");
        expect(m_box.unansweredQuestions == 0, "an unexpected question");
        const QStringList boxes = newBoxes();
        expect(boxes.isEmpty(), "unexpected boxes: " + boxes.join(" | "));
        if (!m_failure.isEmpty())
            return QStringLiteral("seed %1, action %2: %3\nlast actions:\n  %4\nreplay with "
                                  "QUORVEX_RANDOM_SEED=%1")
                .arg(m_seed)
                .arg(step)
                .arg(m_failure, m_log.join("\n  "));
    }
    return {};
}

QString Session::randomText() {
    static const QStringList pool{"",        "0",        "0.00",
                                  "1",       "2",        "3",
                                  "5",       "10",       "10.5",
                                  "-10",     "-.5",      ".25",
                                  "1e308",   "1e309",    "-1e308",
                                  "9.9e307", "1E307",    "1d2",
                                  "1e-320",  "1,000",    "12,50",
                                  "12abc",   "abc",      " 35",
                                  "+7",      "&H10",     "&o17",
                                  "&H",      "1.5.5",    "\u00a35",
                                  "1 2.5",   "Yes",      "-0",
                                  "1e",      "e5",       ".",
                                  "-",       "1e400000", "123456789012345678"};
    static const QString numberish = QStringLiteral("0123456789.-+eEdD ,&Hh");
    static const QString anything = QStringLiteral(
        " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstu"
        "vwxyz{|}~\u00a0\u00e9\u00a3\u20ac\u4e2d\u0661");
    switch (pick(4)) {
    case 0:
    case 1:
        return pool[qsizetype(pick(std::size_t(pool.size())))];
    default: {
        const QString& from = pick(2) ? numberish : anything;
        QString text;
        for (std::size_t i = 0, n = pick(16); i < n; ++i)
            text += from[qsizetype(pick(std::size_t(from.size())))];
        return text;
    }
    }
}

// Types the text key by key, after selecting what the field holds when it is to be replaced.
void Session::type(QWidget* field, const QString& text, bool replace) {
    QTest::keyClick(field, replace ? Qt::Key_A : Qt::Key_End,
                    replace ? Qt::ControlModifier : Qt::NoModifier);
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// What a user does to save somewhere known: Paths, the folder typed in, OK.
void Session::setFolder(const QString& folder) {
    frmOptions& options = frmOptions::instance().show();
    QWidget* path = qt::widget(options.txtPath);
    path->setFocus();
    type(path, folder, true);
    QTest::mouseClick(qt::widget(options.cmdOK), Qt::LeftButton);
    expect(textOf(options.txtPath) == folder, "the folder typed is not the folder held");
}

void Session::typeIntoField() {
    const platform::Control* const fields[] = {&w->txtStakebet, &w->txtLower,     &w->txtUpper,
                                               &w->txtGrandtot, &w->txtPrevious,  &w->txtRunning,
                                               &w->txtWinnings, &w->txtOrigstake, &w->txtTotal};
    QWidget* field = qt::widget(*fields[pick(std::size(fields))]);
    const QString text = randomText();
    const bool replace = chance(80);
    log(QStringLiteral("type \"%1\" into %2%3")
            .arg(text, field->objectName(), replace ? "" : " (appended)"));
    type(field, text, replace);
}

void Session::tickCheckBox() {
    log("tick chkOdds");
    auto* check = qt::widget<QCheckBox>(w->chkOdds);
    const bool before = check->isChecked();
    QTest::keyClick(check, Qt::Key_Space);
    expect(check->isChecked() != before, "the check box did not change");
}

void Session::chooseWin() {
    const bool yes = chance(50);
    log(yes ? "choose Yes" : "choose No");
    auto* win = qt::widget<QComboBox>(w->cmbWin);
    QTest::keyClick(win, yes ? Qt::Key_Up : Qt::Key_Down);
    expect(win->currentText() == (yes ? "Yes" : "No"), "cmbWin shows the other answer");
}

void Session::calculate() {
    log("Calculate");
    const std::string grandBefore = w->txtGrandtot.text();
    QTest::mouseClick(qt::widget(w->cmdCalculate), Qt::LeftButton);
    const QStringList boxes = newBoxes();
    if (!boxes.isEmpty()) {
        // Stopped by an arithmetic error: a zero divisor or a number too large.
        ++stopped;
        expect(boxes.size() == 1 && (boxes[0] == errorText(RuntimeError::DivisionByZero) ||
                                     boxes[0] == errorText(RuntimeError::Overflow)),
               "Calculate showed " + boxes.join(" | "));
        return;
    }
    ++settled;
    const bool winShown = qt::widget(w->lbl1win)->isVisible();
    expect(winShown != qt::widget(w->lblLose)->isVisible(), "not exactly one result label");
    expect(winShown == (textOf(w->cmbWin) == "Yes"), "the wrong label");
    try {
        const std::string grand =
            FormatPlainAmount(ReadAmount(grandBefore) + ReadAmount(w->txtTotal.text()));
        expect(w->txtGrandtot.text() == grand,
               QStringLiteral("grand total %1 after %2 and race total %3")
                   .arg(textOf(w->txtGrandtot), QString::fromStdString(grandBefore),
                        textOf(w->txtTotal)));
        const std::string running = FormatPlainAmount(ReadAmount(w->txtPrevious.text()) +
                                                      ReadAmount(w->txtGrandtot.text()));
        expect(w->txtRunning.text() == running,
               QStringLiteral("running total %1 with previous %2 and grand total %3")
                   .arg(textOf(w->txtRunning), textOf(w->txtPrevious), textOf(w->txtGrandtot)));
    } catch (const RuntimeError& error) {
        expect(false, "a completed Calculate left a total that cannot be read: " +
                          QString::fromStdString(error.description()));
    }
}

void Session::reset() {
    const bool yes = chance(50);
    log(yes ? "Reset, Yes" : "Reset, No");
    const QString grand = textOf(w->txtGrandtot);
    const qsizetype questions = qsizetype(m_box.questions.size());
    m_box.answers.push_back(yes);
    QTest::mouseClick(qt::widget(w->cmdReset), Qt::LeftButton);
    expect(qsizetype(m_box.questions.size()) == questions + 1, "Reset asked no question");
    expect(textOf(w->txtGrandtot) == (yes ? QStringLiteral("0.00") : grand),
           "the grand total after Reset is " + textOf(w->txtGrandtot));
}

void Session::save() {
    // Never let a save go to the folder that a discarded dialog comes back with.
    frmOptions* options = frmOptions::instance().loaded();
    if (!options || !textOf(options->txtPath).startsWith(m_folder)) {
        log("Paths, the temporary folder typed in, OK");
        setFolder(m_folder);
    }
    const bool missing = textOf(frmOptions::instance().loaded()->txtPath) != m_folder;
    log(missing ? "Save into a missing folder" : "Save");
    QTest::mouseClick(qt::widget(w->cmdSaveresults), Qt::LeftButton);
    const QStringList boxes = newBoxes();
    if (missing) {
        expect(boxes == QStringList{errorText(RuntimeError::PathNotFound)},
               "Save into a missing folder showed " + boxes.join(" | "));
        return;
    }
    ++saved;
    expect(boxes == QStringList{"Data saved to file!"}, "Save showed " + boxes.join(" | "));
    QFile file(m_folder + "/" + ResultsFileName);
    expect(file.open(QIODevice::ReadOnly) &&
               file.readAll().toStdString() == resultsLine(w->txtRunning.text()),
           "the file does not hold the running total");
}

void Session::paths() {
    log("Paths");
    qt::action(w->mnuPath)->trigger();
    frmOptions* options = frmOptions::instance().loaded();
    expect(frmOptions::instance().isVisible(), "Paths shows no Options dialog");
    if (!options)
        return;
    if (chance(30)) {
        const bool missing = chance(30);
        log(missing ? "type a missing folder" : "type the temporary folder");
        type(qt::widget(options->txtPath), missing ? m_folder + "\\missing" : m_folder, true);
    }
    switch (pick(3)) {
    case 0:
        log("OK");
        QTest::mouseClick(qt::widget(options->cmdOK), Qt::LeftButton);
        expect(frmOptions::instance().isLoaded() && !frmOptions::instance().isVisible(),
               "OK did not hide the dialog");
        break;
    case 1:
        log("Cancel");
        QTest::mouseClick(qt::widget(options->cmdCancel), Qt::LeftButton);
        expect(!frmOptions::instance().isLoaded(), "Cancel did not discard the dialog");
        break;
    default:
        break; // left open: the main window stays usable
    }
}

void Session::about() {
    log("About");
    qt::action(w->cmdAbout)->trigger();
    frmAbout* box = frmAbout::instance().loaded();
    expect(frmAbout::instance().isVisible(), "About shows no About box");
    if (box && chance(70)) {
        log("OK");
        QTest::mouseClick(qt::widget(box->cmdOK), Qt::LeftButton);
        expect(!frmAbout::instance().isVisible(), "OK left the About box open");
    }
}

} // namespace

class tst_RandomSession : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { testsupport::unloadAllWindows(); }
    void session();
};

void tst_RandomSession::session() {
    const quint64 seed = environmentNumber("QUORVEX_RANDOM_SEED", 20261208);
    const int steps = int(environmentNumber("QUORVEX_RANDOM_STEPS", 3000));
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    qInfo("seed %llu, %d actions", seed, steps);
    Session session(seed, folder.path());
    const QString failure = session.run(steps);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    qInfo("%d bets settled, %d stopped by a run-time error, %d saves", session.settled,
          session.stopped, session.saved);
    // A session that settles next to nothing proves nothing.
    QVERIFY(session.settled > steps / 20 && session.stopped > 0 && session.saved > 0);
}

QUORVEX_TEST_MAIN(tst_RandomSession)
#include "tst_RandomSession.moc"
