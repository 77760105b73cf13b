#include "tests/support/TestEnvironment.h"
#include "ui/main/frmMainfrm.h"

#include <QAccessible>
#include <QLineEdit>

// What a screen reader announces for each control of the main window.
class tst_Accessibility : public QObject {
    Q_OBJECT
private slots:
    void cleanup();

    void controlNames_data();
    void controlNames();
    void everyFocusableControlIsNamed();
};

namespace {
// The name a screen reader announces. Where the platform names a combo box by its current text,
// the reader takes the editor's name when there is one, else the heading's label relation.
QString spokenName(QWidget* control) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    if (!face)
        return {};
    const QString name = face->text(QAccessible::Name);
    if (name.isEmpty() || name != face->text(QAccessible::Value))
        return name;
    for (int i = 0; i < face->childCount(); ++i)
        if (QAccessibleInterface* child = face->child(i);
            child->role() == QAccessible::EditableText && !child->text(QAccessible::Name).isEmpty())
            return child->text(QAccessible::Name);
    const auto labels = face->relations(QAccessible::Label);
    return labels.isEmpty() ? name : labels.first().first->text(QAccessible::Name);
}
} // namespace

void tst_Accessibility::cleanup() {
    testsupport::unloadAllWindows();
}

void tst_Accessibility::controlNames_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("stake") << "txtStakebet"
                           << "Stake Bet";
    QTest::newRow("left odds") << "txtLower"
                               << "ODDS, left-hand figure";
    QTest::newRow("right odds") << "txtUpper"
                                << "ODDS, right-hand figure";
    QTest::newRow("odds-on") << "chkOdds"
                             << "Odds-On";
    QTest::newRow("won") << "cmbWin"
                         << "Did you win?";
    QTest::newRow("winnings") << "txtWinnings"
                              << "Winnings";
    QTest::newRow("original stake") << "txtOrigstake"
                                    << "Plus Original Stake";
    QTest::newRow("total") << "txtTotal"
                           << "TOTAL";
    QTest::newRow("previous") << "txtPrevious"
                              << "Previous Total";
    QTest::newRow("running") << "txtRunning"
                             << "Running Total";
    QTest::newRow("grand total") << "txtGrandtot"
                                 << "GRAND TOTAL:";
    QTest::newRow("calculate") << "cmdCalculate"
                               << "Calculate";
    QTest::newRow("save") << "cmdSaveresults"
                          << "Save";
    QTest::newRow("reset") << "cmdReset"
                           << "Reset";
}

void tst_Accessibility::controlNames() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    frmMainfrm& w = frmMainfrm::instance().load();
    auto* widget = w.findChild<QWidget*>(control);
    QVERIFY(widget);
    // A combo box would otherwise announce its current text, so set an odds figure first.
    if (auto* edit = widget->findChild<QLineEdit*>())
        edit->setText(QStringLiteral("7"));
    QCOMPARE(spokenName(widget), name);
}

// A control added later without a name would be read out as its bare contents.
void tst_Accessibility::everyFocusableControlIsNamed() {
    frmMainfrm& w = frmMainfrm::instance().load();
    for (QWidget* control : w.centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control->focusPolicy() == Qt::NoFocus)
            continue;
        QVERIFY2(!spokenName(control).isEmpty(), qPrintable(control->objectName()));
    }
}

QUORVEX_TEST_MAIN(tst_Accessibility)
#include "tst_Accessibility.moc"
