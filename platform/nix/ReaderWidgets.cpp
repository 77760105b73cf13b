#include "platform/nix/ReaderWidgets.h"

#include <QAccessibleWidget>
#include <QLineEdit>

namespace platform {

namespace {

class ComboBoxInterface : public QAccessibleWidget {
public:
    explicit ComboBoxInterface(ReaderComboBox* combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return combo()->currentText();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        return state;
    }

    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override {
        auto found = QAccessibleWidget::relations(match);
        QLabel* heading = combo()->heading();
        // The label whose buddy this is counts already.
        if ((match & QAccessible::Label) && heading && heading->buddy() != combo())
            found.append({QAccessible::queryAccessibleInterface(heading), QAccessible::Label});
        return found;
    }

private:
    ReaderComboBox* combo() const { return static_cast<ReaderComboBox*>(widget()); }
};

class NewsInterface : public QAccessibleWidget {
public:
    explicit NewsInterface(NewsLabel* label)
        : QAccessibleWidget(label, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* readerInterface(const QString&, QObject* object) {
    if (auto* combo = dynamic_cast<ReaderComboBox*>(object))
        return new ComboBoxInterface(combo);
    if (auto* label = dynamic_cast<NewsLabel*>(object))
        return new NewsInterface(label);
    return nullptr;
}

} // namespace

void installReaderInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(readerInterface);
        return true;
    }();
    (void)installed;
}

} // namespace platform
