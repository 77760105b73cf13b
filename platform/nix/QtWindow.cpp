#include "platform/nix/QtWindow.h"

#include "platform/FormRules.h"

#include "platform/nix/AutoSizeLabel.h"
#include "platform/nix/Fonts.h"
#include "platform/nix/LineControl.h"
#include "platform/nix/TabStrip.h"
#include "platform/nix/Twips.h"
#include "resources/Pictures.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace platform {

namespace {

// The raised edge that a splash draws around its client area, in pixels.
constexpr int splashBorder = 3;

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

QFont qtFont(const FontDesign& design) {
    return font(design.face, design.points, design.weight, design.italic, design.underline);
}

QColor qtColour(const Colour& colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

TwipsRect twipsOf(const QRect& pixels) {
    return {twips::fromPixels(pixels.x()), twips::fromPixels(pixels.y()),
            twips::fromPixels(pixels.width()), twips::fromPixels(pixels.height())};
}

// The system's number of a key, for the handlers that look at it.
int keyCodeOf(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    default:
        return 0;
    }
}

int shiftStateOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    int shift = 0;
    // Shift+Tab arrives as Backtab, sometimes without the Shift modifier.
    if (modifiers & Qt::ShiftModifier || event.key() == Qt::Key_Backtab)
        shift |= 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 2;
    if (modifiers & Qt::AltModifier)
        shift |= 4;
    return shift;
}

} // namespace

class QtWindow;

// The top-level widget. It outlives its QtWindow by a turn of the event loop when the window
// goes inside one of its own events, so it forwards only while it still has one.
class FormWidget : public QMainWindow {
public:
    explicit FormWidget(QtWindow* owner) : m_owner(owner) {}
    void release() { m_owner = nullptr; }
    QtWindow* owner() const { return m_owner; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QtWindow* m_owner;
};

class QtWindow final : public NativeWindow, public QObject {
public:
    QtWindow(const FormDesign& design, EventSink& sink);
    ~QtWindow() override;

    void raise(const Event& event) { m_sink.handle(event); }

    FormWidget* top() const { return m_top; }
    QWidget* control(int row) const { return m_widgets[std::size_t(row)]; }
    QAction* action(int row) const { return m_actions[std::size_t(row)]; }

    void show() override {
        m_top->show();
        m_top->raise();
        m_top->activateWindow();
    }
    void hide() override { m_top->hide(); }
    bool isVisible() const override { return m_top->isVisible(); }
    void setCaption(const std::string& caption) override {
        m_top->setWindowTitle(QString::fromStdString(caption));
    }
    void paintNow() override;
    TwipsRect frame() const override;
    TwipsRect screen() const override {
        return twipsOf(QGuiApplication::primaryScreen()->geometry());
    }
    void moveFrame(int left, int top) override;

    std::string text(int row) const override;
    void setText(int row, const std::string& text) override;
    bool isVisible(int row) const override { return !control(row)->isHidden(); }
    void setVisible(int row, bool visible) override { control(row)->setVisible(visible); }
    bool isEnabled(int row) const override { return control(row)->isEnabled(); }
    void setEnabled(int row, bool enabled) override { control(row)->setEnabled(enabled); }
    TwipsRect place(int row) const override { return twipsOf(control(row)->geometry()); }
    void setLeft(int row, int left) override { twips::setLeft(control(row), left); }
    int value(int row) const override;
    void setValue(int row, int value) override;
    void setFocus(int row) override { control(row)->setFocus(Qt::OtherFocusReason); }
    void onFirstPaint(std::function<void()> callback) override {
        m_firstPaint = std::move(callback);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void placeWindow();
    QWidget* buildControl(int row, QWidget* parent);
    void buildMenu(int row);
    void nameForReaders(int row);
    void orderTabs();
    QWidget* containerOf(int row) const;
    std::function<void()> clickOf(int row) const;
    int rowOf(const QObject* widget) const;
    bool previewKey(QWidget* widget, QKeyEvent* event);
    void watchFrame(int row, QEvent* event);

    const FormDesign& m_design;
    EventSink& m_sink;
    QPointer<FormWidget> m_top;
    QWidget* m_client = nullptr;
    std::vector<QWidget*> m_widgets;
    std::vector<QAction*> m_actions;
    std::function<void()> m_firstPaint;
    const QEvent* m_previewedKey = nullptr;
    QPointer<QWidget> m_previewedAt;
    bool m_framePressed = false;
    bool m_exposedOnce = false;
};

void FormWidget::closeEvent(QCloseEvent* event) {
    // The window's own handler decides what a close request does.
    event->ignore();
    if (m_owner)
        m_owner->raise({Event::Close});
}

QtWindow::QtWindow(const FormDesign& design, EventSink& sink)
    : m_design(design), m_sink(sink), m_top(new FormWidget(this)),
      m_widgets(design.controls.size(), nullptr), m_actions(design.controls.size(), nullptr) {
    buildWindow();
    for (int row = 0; row < int(design.controls.size()); ++row) {
        const ControlDesign& control = design.controls[std::size_t(row)];
        if (control.kind == ControlKind::Menu || control.kind == ControlKind::MenuItem)
            buildMenu(row);
        else
            m_widgets[std::size_t(row)] = buildControl(row, containerOf(row));
    }
    for (int row = 0; row < int(design.controls.size()); ++row)
        nameForReaders(row);
    orderTabs();
    placeWindow();

    // Key preview and the default and cancel buttons see every key of this window first.
    qApp->installEventFilter(this);
}

QtWindow::~QtWindow() {
    qApp->removeEventFilter(this);
    if (m_top) {
        m_top->release();
        m_top->hide();
        // It may be inside one of its own events right now.
        m_top->deleteLater();
    }
}

void QtWindow::buildWindow() {
    m_top->setObjectName(qs(m_design.name));
    m_top->setWindowTitle(qs(m_design.caption));
    m_top->setFont(qtFont(m_design.font));
    if (m_design.icon)
        m_top->setWindowIcon(pictures::programWindowIcon());

    const QRect client = twips::toPixels(0, 0, m_design.clientWidth, m_design.clientHeight);
    m_client = new QWidget;
    m_client->setObjectName(QStringLiteral("client"));
    switch (m_design.style) {
    case FormStyle::Sizable:
        m_top->setCentralWidget(m_client);
        break;
    case FormStyle::FixedDialog:
        m_top->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                              Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint);
        m_top->setCentralWidget(m_client);
        m_top->setFixedSize(client.size());
        break;
    case FormStyle::Splash: {
        // No caption and no control box, so no title bar: the frame is drawn here, and as a
        // splash the window gets no taskbar button of its own.
        m_top->setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
        auto* border = new QFrame;
        border->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
        m_top->setCentralWidget(border);
        m_client->setParent(border);
        m_client->setGeometry(client.translated(splashBorder, splashBorder));
        m_top->setFixedSize(client.size().grownBy(
            QMargins(splashBorder, splashBorder, splashBorder, splashBorder)));
        m_top->setFocusPolicy(Qt::NoFocus);
        break;
    }
    }
}

// Once the menu bar holds its menus, its height is known: the client area gets the size the
// table gives and stands where the table says, with the frame and the menu bar around it.
void QtWindow::placeWindow() {
    const QRect client = twips::toPixels(0, 0, m_design.clientWidth, m_design.clientHeight);
    const int menuHeight =
        m_design.style == FormStyle::Sizable ? m_top->menuBar()->sizeHint().height() : 0;
    if (m_design.style == FormStyle::Sizable)
        m_top->resize(client.width(), client.height() + menuHeight);
    if (!m_design.position)
        return;
    const int border = m_design.style == FormStyle::Splash ? splashBorder : 0;
    const QPoint at = twips::toPixels(QPoint(m_design.position->x, m_design.position->y)) -
                      QPoint(border, border + menuHeight);
    m_top->setGeometry(QRect(at, m_top->size()));
}

// A control's click, raised while the window it belongs to still stands.
std::function<void()> QtWindow::clickOf(int row) const {
    return [top = m_top.data(), row] {
        if (top->owner())
            top->owner()->raise({Event::Click, row});
    };
}

QWidget* QtWindow::containerOf(int row) const {
    const int container = containerRow(m_design, row);
    return container < 0 ? m_client : m_widgets[std::size_t(container)];
}

QWidget* QtWindow::buildControl(int row, QWidget* parent) {
    const ControlDesign& design = m_design.controls[std::size_t(row)];
    const TwipsRect& r = design.rect;
    QWidget* widget = nullptr;
    switch (design.kind) {
    case ControlKind::Label:
        if (design.autoSize) {
            auto* label = new AutoSizeLabel(qs(design.text), parent);
            label->setGeometry(twips::toPixels(r.left, r.top, r.width, r.height));
            // Aligned first: fitting from the design box needs to know which edge stays.
            label->setAlignment((design.alignRight ? Qt::AlignRight : Qt::AlignLeft) |
                                Qt::AlignTop);
            if (design.font)
                label->setFont(qtFont(*design.font));
            label->fitToCaption();
            widget = label;
        } else {
            auto* label = new QLabel(qs(design.text), parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment((design.alignRight ? Qt::AlignRight : Qt::AlignLeft) |
                                Qt::AlignTop);
            widget = label;
        }
        if (design.colour) {
            QPalette palette = widget->palette();
            palette.setColor(QPalette::WindowText, qtColour(*design.colour));
            widget->setPalette(palette);
        }
        break;
    case ControlKind::TextBox: {
        auto* edit = new QLineEdit(qs(design.text), parent);
        edit->setReadOnly(design.readOnly);
        widget = edit;
        break;
    }
    case ControlKind::ComboBox: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert); // the list stays empty
        combo->setEditText(qs(design.text));
        widget = combo;
        break;
    }
    case ControlKind::DropDownList: {
        auto* combo = new QComboBox(parent);
        for (const char* item : design.items)
            combo->addItem(qs(item));
        combo->setCurrentIndex(-1); // nothing is chosen until the program chooses
        widget = combo;
        break;
    }
    case ControlKind::CheckBox:
        widget = new QCheckBox(qs(design.text), parent);
        break;
    case ControlKind::CommandButton: {
        auto* button = new QPushButton(qs(design.text), parent);
        // Enter and Esc are handled with the table's default and cancel buttons.
        button->setAutoDefault(false);
        button->setDefault(design.defaultButton); // drawn as the default; Enter is handled below
        QObject::connect(button, &QPushButton::clicked, m_top, clickOf(row));
        widget = button;
        break;
    }
    case ControlKind::PictureBox:
    case ControlKind::Image: {
        auto* picture = new QLabel(parent);
        const QPixmap pixmap =
            design.picture == Picture::Horse ? pictures::horse() : pictures::programIcon();
        if (design.kind == ControlKind::Image) {
            // Blown up with hard pixel edges rather than blurred, as a stretched icon looks.
            const QSize size = twips::toPixels(0, 0, r.width, r.height).size();
            picture->setPixmap(pixmap.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
            picture->setScaledContents(true);
        } else {
            picture->setPixmap(pixmap);
            picture->setAlignment(design.sunken ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
            if (design.sunken)
                picture->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        }
        widget = picture;
        break;
    }
    case ControlKind::Line: {
        const QColor colour = design.colour ? qtColour(*design.colour) : QColor(Qt::black);
        widget = new LineControl(parent, {design.from.x, design.from.y}, {design.to.x, design.to.y},
                                 design.lineWidth, colour);
        break;
    }
    case ControlKind::Frame:
        if (*design.text) {
            widget = new QGroupBox(qs(design.text), parent);
        } else {
            auto* frame = new QFrame(parent);
            frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
            widget = frame;
        }
        break;
    case ControlKind::Panel:
        widget = new QWidget(parent);
        break;
    case ControlKind::TabStrip: {
        auto* strip = new TabStrip(parent);
        for (const TabDesign& tab : design.tabs)
            strip->Tabs().add(qs(tab.caption), qs(tab.key), qs(tab.toolTip));
        QObject::connect(strip, &TabStrip::Click, m_top, clickOf(row));
        widget = strip;
        break;
    }
    case ControlKind::Menu:
    case ControlKind::MenuItem:
        return nullptr;
    }

    widget->setObjectName(qs(design.name));
    if (design.index >= 0)
        widget->setProperty("index", design.index);
    if (design.kind != ControlKind::Line && !(design.kind == ControlKind::Label && design.autoSize))
        twips::setGeometry(widget, r.left, r.top, r.width, r.height);
    if (design.font && !(design.kind == ControlKind::Label && design.autoSize))
        widget->setFont(qtFont(*design.font));
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

void QtWindow::buildMenu(int row) {
    const ControlDesign& design = m_design.controls[std::size_t(row)];
    QAction* action = nullptr;
    if (design.kind == ControlKind::Menu) {
        QMenu* menu = m_top->menuBar()->addMenu(qs(design.text));
        menu->setObjectName(qs(design.name));
        action = menu->menuAction();
    } else {
        auto* menu = m_top->menuBar()->findChild<QMenu*>(qs(design.container.name));
        action = menu->addAction(qs(design.text));
        QObject::connect(action, &QAction::triggered, m_top, clickOf(row));
    }
    action->setObjectName(qs(design.name));
    m_actions[std::size_t(row)] = action;
}

// What a screen reader announces for a field: its name, and its heading through the label
// relation, which Qt's Linux bridge offers for combo boxes (it names those by their current
// text). An editable combo box's editor, where the typing goes, carries the name too.
void QtWindow::nameForReaders(int row) {
    const ControlDesign& design = m_design.controls[std::size_t(row)];
    QWidget* field = m_widgets[std::size_t(row)];
    if (!field || !design.accessibleName)
        return;
    field->setAccessibleName(qs(design.accessibleName));
    if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
        combo->lineEdit()->setAccessibleName(qs(design.accessibleName));
    if (const int heading = headingRow(m_design, row); heading >= 0) {
        auto* label = qobject_cast<QLabel*>(control(heading));
        if (label && !label->buddy())
            label->setBuddy(field);
    }
}

// The first control in the Tab order has the focus when the window is first shown.
void QtWindow::orderTabs() {
    const std::vector<int> rows = tabOrder(m_design);
    for (std::size_t i = 1; i < rows.size(); ++i)
        QWidget::setTabOrder(control(rows[i - 1]), control(rows[i]));
    if (!rows.empty())
        control(rows.front())->setFocus(Qt::OtherFocusReason);
}

int QtWindow::rowOf(const QObject* widget) const {
    const auto found = std::find(m_widgets.begin(), m_widgets.end(), widget);
    return found == m_widgets.end() ? -1 : int(found - m_widgets.begin());
}

std::string QtWindow::text(int row) const {
    QWidget* widget = control(row);
    if (!widget)
        return action(row)->text().toStdString();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text().toStdString();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText().toStdString();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text().toStdString();
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return group->title().toStdString();
    return {};
}

void QtWindow::setText(int row, const std::string& text) {
    const QString value = QString::fromStdString(text);
    QWidget* widget = control(row);
    if (!widget) {
        action(row)->setText(value);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(value);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable())
            combo->setEditText(value);
        else
            combo->setCurrentIndex(combo->findText(value));
    } else if (auto* autoSized = qobject_cast<AutoSizeLabel*>(widget)) {
        autoSized->setCaption(value);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(value);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(value);
    }
}

int QtWindow::value(int row) const {
    QWidget* widget = control(row);
    if (auto* check = qobject_cast<QCheckBox*>(widget))
        return check->isChecked() ? 1 : 0;
    if (auto* strip = qobject_cast<TabStrip*>(widget))
        return strip->SelectedItem().index;
    return 0;
}

void QtWindow::setValue(int row, int value) {
    QWidget* widget = control(row);
    if (auto* check = qobject_cast<QCheckBox*>(widget))
        check->setChecked(value != 0);
    else if (auto* strip = qobject_cast<TabStrip*>(widget))
        strip->setSelectedItem(value);
}

// Also before the window has been shown: its frame is not there yet, so the window system is
// asked for the frame it will draw. Some tell it only once the window has been on the screen;
// until then the client area stands for it.
TwipsRect QtWindow::frame() const {
    m_top->winId();
    return twipsOf(m_top->geometry().marginsAdded(m_top->windowHandle()->frameMargins()));
}

void QtWindow::paintNow() {
    if (m_exposedOnce) {
        // Only what changed since the last paint, as a moved picture needs: cheap enough for
        // every step of the race.
        QCoreApplication::sendPostedEvents(m_top, QEvent::UpdateRequest);
        return;
    }
    // A window shown a moment ago may not be on the screen yet, and its first paint needs that.
    QElapsedTimer waited;
    waited.start();
    const auto exposed = [this] {
        return m_top->windowHandle() && m_top->windowHandle()->isExposed();
    };
    while (!exposed() && waited.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    m_exposedOnce = exposed();
    m_top->repaint();
}

void QtWindow::moveFrame(int left, int top) {
    m_top->move(twips::toPixels(left), twips::toPixels(top));
}

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == m_top && type == QEvent::Paint && m_firstPaint) {
        std::exchange(m_firstPaint, nullptr)();
        return false;
    }
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease) {
        const int row = rowOf(watched);
        if (row >= 0 && m_design.controls[std::size_t(row)].kind == ControlKind::Frame)
            watchFrame(row, event);
        return false;
    }
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease &&
         type != QEvent::ShortcutOverride) ||
        !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != m_top)
        return false;
    // Every key press is announced by a shortcut check and followed by a release; between
    // them, a press the control left unused travels on to its containers, the same event.
    // Preview it once, at the control it was sent to, even if the handler moved the focus.
    if (type != QEvent::KeyPress) {
        m_previewedKey = nullptr;
        return false;
    }
    if (event == m_previewedKey && m_previewedAt && widget->isAncestorOf(m_previewedAt))
        return false;
    m_previewedKey = event;
    m_previewedAt = widget;
    return previewKey(widget, static_cast<QKeyEvent*>(event));
}

// Runs the window's key handlers before the control's, then the default and cancel buttons.
// Nothing of this object is used after an event has been raised: the handler may have unloaded
// the window.
bool QtWindow::previewKey(QWidget* widget, QKeyEvent* event) {
    const QPointer<FormWidget> top = m_top;
    if (m_design.keyPreview) {
        raise({Event::KeyDown, -1, keyCodeOf(*event), shiftStateOf(*event)});
        if (!top || !top->owner())
            return true;
        if (const QString character = event->text(); !character.isEmpty()) {
            raise({Event::KeyPress, -1, character.at(0).unicode()});
            if (!top || !top->owner())
                return true;
        }
    }
    if (!m_top->isVisible())
        return false;
    const auto enabled = [this](int row) {
        return row >= 0 && control(row)->isEnabled() ? row : -1;
    };
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        if (const int row = enabled(cancelButtonRow(m_design)); row >= 0) {
            raise({Event::Click, row});
            return true;
        }
    } else if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
               (event->modifiers() & ~Qt::KeypadModifier) == 0) {
        int row = qobject_cast<QPushButton*>(widget) ? rowOf(widget) : -1;
        if (row < 0)
            row = enabled(defaultButtonRow(m_design));
        if (row >= 0) {
            raise({Event::Click, row});
            return true;
        }
    }
    return false;
}

// A click is a press and a release of the left button on the frame's bare area. A press on a
// label or the image reaches the frame too, since they ignore it; it is not the frame's.
void QtWindow::watchFrame(int row, QEvent* event) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton)
        return;
    QWidget* frame = control(row);
    const QPoint at = mouse->position().toPoint();
    if (event->type() == QEvent::MouseButtonPress) {
        m_framePressed = frame->childAt(at) == nullptr;
        return;
    }
    const bool clicked = m_framePressed && frame->rect().contains(at);
    m_framePressed = false;
    if (clicked)
        raise({Event::Click, row});
}

std::unique_ptr<NativeWindow> createNativeWindow(const FormDesign& design, EventSink& sink) {
    return std::make_unique<QtWindow>(design, sink);
}

namespace qt {

namespace {
QtWindow& native(const Form& form) {
    return dynamic_cast<QtWindow&>(form.window());
}
} // namespace

QWidget* widget(const Form& form) {
    return native(form).top();
}

QWidget* widget(const Control& control) {
    return native(control.form()).control(control.row());
}

QAction* action(const Control& control) {
    return native(control.form()).action(control.row());
}

} // namespace qt

} // namespace platform
