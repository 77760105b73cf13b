#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>

#include <functional>

// Widgets whose accessible interfaces say what Qt's own do not pass on over the Linux bridge,
// as a screen reader there builds its words: it reads a field's line from the runs of text
// attributes (Qt reports them empty), speaks a combo box's label instead of its name and a drop-
// down list's value from its text, reads a dialog's description but no text of a frame, and
// speaks every selection that changes.
namespace platform {

// A field's editor: its text is one run of attributes, and the selection it makes or drops
// itself as the focus comes and goes (all of it on Tab) is not told as news.
class ReaderLineEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    // Where character `offset` is drawn, in global coordinates.
    QRect characterRect(int offset) const;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// An editable combo box named by its field name, which carries its heading's words (so it is
// labelled by nothing else), with its text as its value.
class ReaderComboBox : public QComboBox {
public:
    explicit ReaderComboBox(QWidget* parent);
};

// A drop-down list whose chosen item is its value and its text, with the caret after it. A
// change of choice moves the caret, which a screen reader answers, after Up or Down, by reading
// the new choice: Qt 6.4 has no selection interface to tell it otherwise. Two choices of one
// length would leave the caret where it was, which a reader takes for no move (Yes and No
// differ).
class ChoiceList : public QComboBox {
public:
    explicit ChoiceList(QWidget* parent);
};

// A label whose text is told to screen readers whenever it appears: a notification, described
// by the fields it is told with, as they stand once the event that showed it has been handled.
class NewsLabel : public QLabel {
public:
    // The text comes once this is a NewsLabel: setting it tells readers, which makes the
    // interface, and one made while QLabel's constructor runs would be a plain label's.
    NewsLabel(const QString& text, QWidget* parent) : QLabel(parent) { setText(text); }
    void setTold(std::function<QString()> told) { m_told = std::move(told); }
    QString told() const { return m_told ? m_told() : QString(); }

private:
    std::function<QString()> m_told;
};

// A top-level window that a screen reader knows as a dialog or as a plain window; a dialog is
// described by its texts (the labels that name no field), which are read when it opens.
class ReaderWindow : public QMainWindow {
public:
    void setDialog(bool dialog);
    bool isDialog() const { return m_dialog; }
    // In reading order. Each is made to label the window, so that a reader does not read it
    // again as a stray label.
    void setTexts(const QList<QLabel*>& texts);
    QString texts() const;

private:
    bool m_dialog = false;
    QList<QPointer<QLabel>> m_texts;
};

// Makes the interfaces of these widgets known to Qt; once per program, before any window.
void installReaderInterfaces();

} // namespace platform
