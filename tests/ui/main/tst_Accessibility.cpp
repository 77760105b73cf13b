#include "platform/FormRules.h"
#include "platform/nix/QtWindow.h"
#include "tests/support/ResultsFolder.h"
#include "tests/support/TestEnvironment.h"
#include "ui/about/frmAbout.h"
#include "ui/main/frmMainfrm.h"
#include "ui/options/frmOptions.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSet>

namespace qt = platform::qt;

// What a screen reader announces for each control of the main window, and for the dialogs.
class tst_Accessibility : public QObject {
    Q_OBJECT
private slots:
    void cleanup();

    void fieldsAreNamedByTheirHeadings();
    void everyFocusableControlHasAName();
    void textsAreReadWhole_data();
    void textsAreReadWhole();
    void resultIsToldWithTheTotals();
    void dialogsAreDialogs();

private:
    testsupport::TestEnvironment m_environment;
};

namespace {
// The name a screen reader announces: a combo box is announced by the label it is labelled by,
// instead of its own name.
QString spokenName(QWidget* control) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    if (!face)
        return {};
    const auto labels = face->relations(QAccessible::Label);
    if (face->role() == QAccessible::ComboBox && !labels.isEmpty())
        return labels.first().first->text(QAccessible::Name);
    return face->text(QAccessible::Name);
}

// The controls of the window that take the focus, with what a reader announces for each.
QList<QPair<QWidget*, QString>> spokenControls(frmMainfrm& w) {
    QList<QPair<QWidget*, QString>> spoken;
    for (int row : platform::tabOrder(frmMainfrm::design())) {
        const platform::ControlDesign& design = frmMainfrm::design().controls[std::size_t(row)];
        QWidget* control = qt::widget(platform::Control(w, design.name, design.index));
        // A combo box would otherwise announce its current text, so give an editor a figure.
        if (auto* edit = control->findChild<QLineEdit*>())
            edit->setText(QStringLiteral("7"));
        spoken.append({control, spokenName(control)});
    }
    return spoken;
}
} // namespace

void tst_Accessibility::cleanup() {
    testsupport::unloadAllWindows();
}

// A reader names each field after the heading the eye sees above it.
void tst_Accessibility::fieldsAreNamedByTheirHeadings() {
    testsupport::resultsInProgramFolder();
    frmMainfrm& w = frmMainfrm::instance().load();
    int named = 0;
    for (const platform::ControlDesign& design : frmMainfrm::design().controls) {
        if (!design.heading)
            continue;
        auto* heading = qt::widget<QLabel>(platform::Control(w, design.heading));
        QWidget* field = qt::widget(platform::Control(w, design.name, design.index));
        QVERIFY2(heading && field, design.name);
        if (auto* edit = field->findChild<QLineEdit*>())
            edit->setText(QStringLiteral("7"));
        QVERIFY2(spokenName(field).startsWith(heading->text()),
                 qPrintable(spokenName(field) + " under " + heading->text()));
        ++named;
    }
    QVERIFY(named > 0);
}

// A control added later without a name would be read out as its bare contents, and two
// controls of one name cannot be told apart. A button is read out as its caption.
void tst_Accessibility::everyFocusableControlHasAName() {
    testsupport::resultsInProgramFolder();
    frmMainfrm& w = frmMainfrm::instance().load();
    QSet<QString> names;
    const auto spoken = spokenControls(w);
    QVERIFY(!spoken.isEmpty());
    for (const auto& [control, name] : spoken) {
        QVERIFY2(!name.isEmpty(), qPrintable(control->objectName()));
        QVERIFY2(name != u"7", qPrintable(control->objectName() + " reads its contents"));
        QVERIFY2(!names.contains(name), qPrintable(name + " twice"));
        if (auto* button = qobject_cast<QAbstractButton*>(control);
            button && !button->text().isEmpty())
            QCOMPARE(name, QString(button->text()).remove(u'&'));
        names.insert(name);
    }
}

// A reader builds the line it speaks from the runs of text attributes, so the whole text is one
// run; a drop-down list tells its choice as its text.
void tst_Accessibility::textsAreReadWhole_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    // clang-format off
    QTest::newRow("stake") << "txtStakebet" << "10";
    QTest::newRow("odds figure") << "txtLower" << "5";
    QTest::newRow("race total") << "txtTotal" << " 35";
    QTest::newRow("did you win") << "cmbWin" << "No";
    // clang-format on
}

void tst_Accessibility::textsAreReadWhole() {
    testsupport::resultsInProgramFolder();
    QFETCH(QString, control);
    QFETCH(QString, text);
    frmMainfrm& w = frmMainfrm::instance().load();
    const std::string name = control.toStdString();
    platform::Control field(w, name.c_str());
    field.setText(text.toStdString());
    QWidget* holder = qt::widget(field);
    if (auto* combo = qobject_cast<QComboBox*>(holder); combo && combo->isEditable())
        holder = combo->lineEdit();
    QAccessibleTextInterface* face = QAccessible::queryAccessibleInterface(holder)->textInterface();
    QVERIFY(face);
    QCOMPARE(face->text(0, face->characterCount()), text);
    int start = -1;
    int end = -1;
    face->attributes(1, &start, &end);
    QCOMPARE(QPair(start, end), QPair(0, int(text.size())));
}

// Heard after the outcome, as the window shows them when Calculate is over.
void tst_Accessibility::resultIsToldWithTheTotals() {
    testsupport::resultsInProgramFolder();
    frmMainfrm& w = frmMainfrm::instance().show();
    w.txtStakebet.setText("10");
    w.txtLower.setText("5");
    w.txtUpper.setText("2");
    QTest::mouseClick(qt::widget(w.cmdCalculate), Qt::LeftButton);
    QCOMPARE(QAccessible::queryAccessibleInterface(qt::widget(w.lbl1win))
                 ->text(QAccessible::Description),
             u"TOTAL 35, GRAND TOTAL: 35");
}

// A reader reads a dialog's description when it opens, and no text of a plain window.
void tst_Accessibility::dialogsAreDialogs() {
    testsupport::resultsInProgramFolder();
    const auto face = [](platform::Form& form) {
        return QAccessible::queryAccessibleInterface(qt::widget(form));
    };
    QCOMPARE(face(frmMainfrm::instance().load())->role(), QAccessible::Window);
    QCOMPARE(face(frmOptions::instance().load())->role(), QAccessible::Dialog);
    frmAbout& about = frmAbout::instance().show();
    QCOMPARE(face(about)->role(), QAccessible::Dialog);
    const QString heard = face(about)->text(QAccessible::Description);
    const QString version = QString::fromStdString(about.lblVersion.text());
    QVERIFY2(heard.startsWith(QStringLiteral("Quorvex. %1. This is Tollick's").arg(version)) &&
                 heard.endsWith(u"Check all results manually."),
             qPrintable(heard));
}

QUORVEX_TEST_MAIN(tst_Accessibility)
#include "tst_Accessibility.moc"
