// One function per kind of control makes its widget; createControlWidget then applies what the
// table says the same way for every kind (name, place, font, tool tip, state, focus). A new kind
// of control needs a case in createOfKind and, if it shows a text or a value, one in the
// readers and writers at the end.
#include "platform/nix/ControlWidgets.h"

#include "platform/FormRules.h"
#include "platform/nix/AutoSizeLabel.h"
#include "platform/nix/Fonts.h"
#include "platform/nix/LineControl.h"
#include "platform/nix/Pictures.h"
#include "platform/nix/ReaderWidgets.h"
#include "platform/nix/TabStrip.h"
#include "platform/nix/Twips.h"
#include "resources/Pictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace platform {

namespace {

QColor qtColour(const Colour& colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

Qt::Alignment labelAlignment(const ControlDesign& design) {
    return (design.alignRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop;
}

// An auto-sized label is placed, in its font, as it is made: it sizes itself from that.
bool isAutoSized(const ControlDesign& design) {
    return design.kind == ControlKind::Label && design.autoSize;
}

QWidget* createLabel(const ControlDesign& design, QWidget* container) {
    QLabel* label = nullptr;
    if (design.autoSize) {
        auto* autoSized = new AutoSizeLabel(qs(design.text), container);
        const TwipsRect& r = design.rect;
        autoSized->setGeometry(twips::toPixels(r.left, r.top, r.width, r.height));
        // Aligned first: fitting from the design box needs to know which edge stays.
        autoSized->setAlignment(labelAlignment(design));
        if (design.font)
            autoSized->setFont(font(*design.font));
        autoSized->fitToCaption();
        label = autoSized;
    } else {
        label = design.announced ? new NewsLabel(qs(design.text), container)
                                 : new QLabel(qs(design.text), container);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(labelAlignment(design));
    }
    if (design.colour) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, qtColour(*design.colour));
        label->setPalette(palette);
    }
    return label;
}

QWidget* createTextBox(const ControlDesign& design, QWidget* container) {
    auto* edit = new ReaderLineEdit(qs(design.text), container);
    edit->setReadOnly(design.readOnly);
    return edit;
}

QWidget* createComboBox(const ControlDesign& design, QWidget* container) {
    auto* combo = new ReaderComboBox(container);
    combo->setInsertPolicy(QComboBox::NoInsert); // the list stays empty
    combo->setEditText(qs(design.text));
    return combo;
}

QWidget* createDropDownList(const ControlDesign& design, QWidget* container) {
    auto* combo = new ChoiceList(container);
    for (const char* item : design.items)
        combo->addItem(qs(item));
    combo->setCurrentIndex(-1); // nothing is chosen until the program chooses
    return combo;
}

QWidget* createCommandButton(const ControlDesign& design, QWidget* container,
                             const std::function<void()>& click) {
    auto* button = new QPushButton(qs(design.text), container);
    // Enter and Esc are handled with the table's default and cancel buttons (InputFilter).
    button->setAutoDefault(false);
    button->setDefault(design.defaultButton); // drawn as the default
    QObject::connect(button, &QPushButton::clicked, button, click);
    return button;
}

QWidget* createPicture(const ControlDesign& design, QWidget* container) {
    const QPixmap pixmap =
        design.picture == Picture::Horse ? pictures::horse() : pictures::programIcon();
    // An image stretches its picture with hard pixel edges, as a stretched icon looks.
    auto* picture =
        new PictureWidget(pixmap, design.kind == ControlKind::Image, design.sunken, container);
    if (design.sunken)
        picture->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    return picture;
}

QWidget* createLine(const ControlDesign& design, QWidget* container) {
    const QColor colour = design.colour ? qtColour(*design.colour) : QColor(Qt::black);
    return new LineControl(container, {design.from.x, design.from.y}, {design.to.x, design.to.y},
                           design.lineWidth, colour);
}

// A frame with a caption draws it in its border; one without is a sunken box.
QWidget* createFrame(const ControlDesign& design, QWidget* container) {
    if (*design.text)
        return new QGroupBox(qs(design.text), container);
    auto* frame = new QFrame(container);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    return frame;
}

QWidget* createTabStrip(const ControlDesign& design, QWidget* container,
                        const std::function<void()>& click) {
    auto* strip = new TabStrip(container);
    for (const TabDesign& tab : design.tabs)
        strip->Tabs().add(qs(tab.caption), qs(tab.key), qs(tab.toolTip));
    QObject::connect(strip, &TabStrip::Click, strip, click);
    return strip;
}

QWidget* createOfKind(const ControlDesign& design, QWidget* container,
                      const std::function<void()>& click) {
    switch (design.kind) {
    case ControlKind::Label:
        return createLabel(design, container);
    case ControlKind::TextBox:
        return createTextBox(design, container);
    case ControlKind::ComboBox:
        return createComboBox(design, container);
    case ControlKind::DropDownList:
        return createDropDownList(design, container);
    case ControlKind::CheckBox:
        return new QCheckBox(qs(design.text), container);
    case ControlKind::CommandButton:
        return createCommandButton(design, container, click);
    case ControlKind::PictureBox:
    case ControlKind::Image:
        return createPicture(design, container);
    case ControlKind::Line:
        return createLine(design, container);
    case ControlKind::Frame:
        return createFrame(design, container);
    case ControlKind::Panel:
        return new QWidget(container);
    case ControlKind::TabStrip:
        return createTabStrip(design, container, click);
    case ControlKind::Menu:
    case ControlKind::MenuItem:
        break;
    }
    return nullptr;
}

} // namespace

QWidget* createControlWidget(const ControlDesign& design, QWidget* container,
                             const std::function<void()>& click) {
    QWidget* widget = createOfKind(design, container, click);
    if (!widget)
        return nullptr;
    // What every kind has: the name the tests find it by, its place, font, tool tip and state.
    widget->setObjectName(qs(design.name));
    if (design.index >= 0)
        widget->setProperty("index", design.index);
    // A line's place comes from its two ends.
    if (design.kind != ControlKind::Line && !isAutoSized(design)) {
        const TwipsRect& r = design.rect;
        twips::setGeometry(widget, r.left, r.top, r.width, r.height);
    }
    if (design.font && !isAutoSized(design))
        widget->setFont(font(*design.font));
    if (design.toolTip)
        widget->setToolTip(qs(design.toolTip));
    if (design.disabled)
        widget->setEnabled(false);
    if (!takesFocus(design))
        widget->setFocusPolicy(Qt::NoFocus);
    // Made last, the tab strip lies beneath the panels that show its pages.
    if (design.kind == ControlKind::TabStrip)
        widget->lower();
    return widget;
}

QAction* createMenuAction(const ControlDesign& design, QMenuBar* bar,
                          const std::function<void()>& click) {
    QAction* action = nullptr;
    if (design.kind == ControlKind::Menu) {
        QMenu* menu = bar->addMenu(qs(design.text));
        menu->setObjectName(qs(design.name));
        action = menu->menuAction();
    } else {
        auto* menu = bar->findChild<QMenu*>(qs(design.container.name));
        action = menu->addAction(qs(design.text));
        QObject::connect(action, &QAction::triggered, action, click);
    }
    action->setObjectName(qs(design.name));
    return action;
}

std::string textOf(const QWidget* widget) {
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text().toStdString();
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentText().toStdString();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text().toStdString();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text().toStdString();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title().toStdString();
    return {};
}

void setTextOf(QWidget* widget, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(combo->findText(text));
    } else if (auto* autoSized = qobject_cast<AutoSizeLabel*>(widget)) {
        autoSized->setCaption(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(text);
    }
}

int valueOf(const QWidget* widget) {
    if (auto* check = qobject_cast<const QCheckBox*>(widget))
        return check->isChecked() ? 1 : 0;
    if (auto* strip = qobject_cast<const TabStrip*>(widget))
        return strip->SelectedItem().index;
    return 0;
}

void setValueOf(QWidget* widget, int value) {
    if (auto* check = qobject_cast<QCheckBox*>(widget))
        check->setChecked(value != 0);
    else if (auto* strip = qobject_cast<TabStrip*>(widget))
        strip->setSelectedItem(value);
}

} // namespace platform
