#include "platform/nix/ReaderWidgets.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QScopedValueRollback>
#include <QStyleOptionFrame>
#include <QTimer>

namespace platform {

namespace {

// The line edit whose focus comes or goes right now.
QObject* focusMoving = nullptr;
QAccessible::UpdateHandler previousHandler = nullptr;

void readerUpdate(QAccessibleEvent* event);

// Qt's own handling runs only while no handler is installed.
void forward(QAccessibleEvent* event) {
    if (previousHandler) {
        previousHandler(event);
        return;
    }
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(readerUpdate);
}

// Told once the event that showed it has been handled, with its description fresh: what it is
// told with is written after it appears.
void tellLater(NewsLabel* label) {
    QTimer::singleShot(0, label, [label] {
        if (!label->isVisible())
            return;
        QAccessibleEvent described(label, QAccessible::DescriptionChanged);
        forward(&described);
        QAccessibleEvent shown(label, QAccessible::ObjectShow);
        forward(&shown);
    });
}

// Every accessibility event passes here first. The selection a line edit makes or drops itself
// as its focus comes or goes is no news: a reader would say "selected" and "unselected" around
// every Tab. A notification waits until the event that showed it is over.
void readerUpdate(QAccessibleEvent* event) {
    const QAccessible::Event type = event->type();
    if ((type == QAccessible::TextSelectionChanged || type == QAccessible::TextCaretMoved) &&
        focusMoving && event->object() == focusMoving)
        return;
    if (type == QAccessible::ObjectShow)
        if (auto* label = dynamic_cast<NewsLabel*>(event->object())) {
            tellLater(label);
            return;
        }
    forward(event);
}

// A text with one font and one colour: one run of attributes from its start to its end.
QString oneRun(int count, int offset, int* start, int* end) {
    if (offset < 0 || offset > count) {
        *start = *end = -1;
    } else {
        *start = 0;
        *end = count;
    }
    return {};
}

class LineEditInterface : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit LineEditInterface(ReaderLineEdit* edit)
        : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface && !edit()->isReadOnly())
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return shown();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.readOnly = edit()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index == 0 && edit()->hasSelectedText()) {
            *start = edit()->selectionStart();
            *end = edit()->selectionEnd();
        }
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0)
            edit()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0)
            edit()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    QString text(int start, int end) const override {
        return start > end ? QString() : shown().mid(start, end - start);
    }
    int characterCount() const override { return int(shown().size()); }
    QRect characterRect(int offset) const override { return edit()->characterRect(offset); }
    int offsetAtPoint(const QPoint& point) const override {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int end) override {
        edit()->setCursorPosition(end);
        edit()->setCursorPosition(start);
    }
    QString attributes(int offset, int* start, int* end) const override {
        return oneRun(characterCount(), offset, start, end);
    }

    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        edit()->setText(edit()->text().replace(start, end - start, text));
    }

private:
    ReaderLineEdit* edit() const { return static_cast<ReaderLineEdit*>(widget()); }
    QString shown() const { return edit()->displayText(); }
};

class ComboBoxInterface : public QAccessibleWidget {
public:
    explicit ComboBoxInterface(ReaderComboBox* combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return static_cast<QComboBox*>(widget())->currentText();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        return state;
    }
};

// Named by its field name, its choice is its value and its text, with the caret after it; the
// list of choices is its child, as it is of Qt's own combo box.
class ChoiceInterface : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ChoiceInterface(ChoiceList* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return choice();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = list()->view()->isVisible();
        state.collapsed = !state.expanded;
        return state;
    }

    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == list()->view() ? 0 : -1;
    }

    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return int(choice().size()); }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override {
        return start > end ? QString() : choice().mid(start, end - start);
    }
    int characterCount() const override { return int(choice().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        return oneRun(characterCount(), offset, start, end);
    }

private:
    ChoiceList* list() const { return static_cast<ChoiceList*>(widget()); }
    QString choice() const { return list()->currentText(); }
};

class NewsInterface : public QAccessibleWidget {
public:
    explicit NewsInterface(NewsLabel* label)
        : QAccessibleWidget(label, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return label()->text();
        if (t == QAccessible::Description)
            return label()->told();
        return QAccessibleWidget::text(t);
    }

private:
    NewsLabel* label() const { return static_cast<NewsLabel*>(widget()); }
};

class WindowInterface : public QAccessibleWidget {
public:
    explicit WindowInterface(ReaderWindow* window)
        : QAccessibleWidget(window, QAccessible::Window) {}

    QAccessible::Role role() const override {
        return static_cast<ReaderWindow*>(widget())->isDialog() ? QAccessible::Dialog
                                                                : QAccessible::Window;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description) {
            if (QString texts = static_cast<ReaderWindow*>(widget())->texts(); !texts.isEmpty())
                return texts;
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* readerInterface(const QString&, QObject* object) {
    if (auto* edit = dynamic_cast<ReaderLineEdit*>(object))
        return new LineEditInterface(edit);
    if (auto* combo = dynamic_cast<ReaderComboBox*>(object))
        return new ComboBoxInterface(combo);
    if (auto* list = dynamic_cast<ChoiceList*>(object))
        return new ChoiceInterface(list);
    if (auto* label = dynamic_cast<NewsLabel*>(object))
        return new NewsInterface(label);
    if (auto* window = dynamic_cast<ReaderWindow*>(object))
        return new WindowInterface(window);
    return nullptr;
}

} // namespace

// Where the text stands when it fits the field, as the program's figures do.
QRect ReaderLineEdit::characterRect(int offset) const {
    const QString shown = displayText();
    if (offset < 0 || offset >= shown.size())
        return {};
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect area = style()
                           ->subElementRect(QStyle::SE_LineEditContents, &option, this)
                           .marginsRemoved(textMargins());
    constexpr int margin = 2; // the line edit's own, between its frame and its text
    const QFontMetrics metrics(font());
    const int width = metrics.horizontalAdvance(shown);
    int left = area.left() + margin;
    if (alignment() & Qt::AlignRight)
        left = area.right() - margin - width;
    else if (alignment() & Qt::AlignHCenter)
        left = area.center().x() - width / 2;
    const QRect character(left + metrics.horizontalAdvance(shown.left(offset)),
                          area.top() + (area.height() - metrics.height()) / 2,
                          metrics.horizontalAdvance(shown.at(offset)), metrics.height());
    return {mapToGlobal(character.topLeft()), character.size()};
}

void ReaderLineEdit::focusInEvent(QFocusEvent* event) {
    const QScopedValueRollback<QObject*> quiet(focusMoving, this);
    QLineEdit::focusInEvent(event);
}

void ReaderLineEdit::focusOutEvent(QFocusEvent* event) {
    const QScopedValueRollback<QObject*> quiet(focusMoving, this);
    QLineEdit::focusOutEvent(event);
}

// A combo box with a line edit is editable.
ReaderComboBox::ReaderComboBox(QWidget* parent) : QComboBox(parent) {
    setLineEdit(new ReaderLineEdit(this));
}

ChoiceList::ChoiceList(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        QAccessibleTextCursorEvent moved(this, int(currentText().size()));
        QAccessible::updateAccessibility(&moved);
    });
}

void ReaderWindow::setDialog(bool dialog) {
    m_dialog = dialog;
    // One made while QMainWindow's constructor ran would be a plain main window's.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(this);
        made && !dynamic_cast<WindowInterface*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void ReaderWindow::setTexts(const QList<QLabel*>& texts) {
    m_texts.clear();
    for (QLabel* label : texts) {
        // A label's buddy is what it labels: here the window it describes. Qt 6.4 knows no
        // relation closer to that. The texts hold no access key, so no shortcut comes of it.
        label->setBuddy(this);
        m_texts.append(label);
    }
}

// One sentence a text, in reading order.
QString ReaderWindow::texts() const {
    QStringList sentences;
    for (const QPointer<QLabel>& label : m_texts) {
        if (!label || !label->isVisibleTo(this) || label->text().trimmed().isEmpty())
            continue;
        QString sentence = label->text().simplified();
        if (sentence.back().isLetterOrNumber())
            sentence += u'.';
        sentences.append(sentence);
    }
    return sentences.join(u' ');
}

void installReaderInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(readerInterface);
        previousHandler = QAccessible::installUpdateHandler(readerUpdate);
        return true;
    }();
    (void)installed;
}

} // namespace platform
