#pragma once

#include <QLabel>

namespace platform {

// A label that takes the extent of its caption in its font: whenever its caption is set through
// setCaption, whenever its font changes, and when fitToCaption is called after placing it at
// its design box. Not when made: measured in the window's font, which it may not use, the caption
// would cost that font's loading for nothing. A label aligned right keeps its right edge, any
// other its left edge; the top stays. QLabel::setText is not virtual, so a caption set through
// it keeps the old size.
class AutoSizeLabel : public QLabel {
    Q_OBJECT
public:
    AutoSizeLabel(const QString& caption, QWidget* parent);

    void setCaption(const QString& caption);
    void fitToCaption();

protected:
    void changeEvent(QEvent* event) override;
};

} // namespace platform
