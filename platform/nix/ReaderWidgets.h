#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPointer>

// Widgets whose accessible interfaces say what Qt's own do not pass on over the Linux bridge:
// there an editable combo box is named by its text and labelled only by the one label whose
// buddy it is, and a label that appears is not news a screen reader speaks.
namespace platform {

// An editable combo box named by its field name, labelled by its heading (which may head
// other fields too), with its text as its value.
class ReaderComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    void setHeading(QLabel* heading) { m_heading = heading; }
    QLabel* heading() const { return m_heading; }

private:
    QPointer<QLabel> m_heading;
};

// A label whose text is told to screen readers whenever it appears: a notification.
class NewsLabel : public QLabel {
public:
    // The text comes once this is a NewsLabel: setting it tells readers, which makes the
    // interface, and one made while QLabel's constructor runs would be a plain label's.
    NewsLabel(const QString& text, QWidget* parent) : QLabel(parent) { setText(text); }
};

// Makes the interfaces of these widgets known to Qt; once per program, before any window.
void installReaderInterfaces();

} // namespace platform
