#include "platform/FormRules.h"
#include "platform/nix/QtWindow.h"
#include "tests/support/ResultsFolder.h"
#include "tests/support/TestEnvironment.h"
#include "ui/main/frmMainfrm.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QSet>

namespace qt = platform::qt;

// What a screen reader announces for each control of the main window.
class tst_Accessibility : public QObject {
    Q_OBJECT
private slots:
    void cleanup();

    void fieldsAreNamedByTheirHeadings();
    void everyFocusableControlHasAName();

private:
    testsupport::TestEnvironment m_environment;
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

QUORVEX_TEST_MAIN(tst_Accessibility)
#include "tst_Accessibility.moc"
