// A window of the program on Qt: its top-level widget built from the window's table, with a
// widget per control (ControlWidgets) and the keys and clicks it handles itself (InputFilter),
// placed on the screen and driven through the NativeWindow interface.
#include "platform/nix/QtWindow.h"

#include "platform/FormRules.h"
#include "platform/nix/ControlWidgets.h"
#include "platform/nix/Fonts.h"
#include "platform/nix/InputFilter.h"
#include "platform/nix/ReaderWidgets.h"
#include "platform/nix/Twips.h"
#include "resources/Pictures.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <utility>
#include <vector>

namespace platform {

namespace {

// The raised edge that a splash draws around its client area, in pixels.
constexpr int splashBorder = 3;

// Window places are relative to the primary screen's top-left corner, which need not be the
// desktop's.
QPoint screenOrigin() {
    return QGuiApplication::primaryScreen()->geometry().topLeft();
}

TwipsRect twipsOf(const QRect& pixels) {
    return {twips::fromPixels(pixels.x()), twips::fromPixels(pixels.y()),
            twips::fromPixels(pixels.width()), twips::fromPixels(pixels.height())};
}

} // namespace

class QtWindow;

// The top-level widget. It outlives its QtWindow by a turn of the event loop when the window
// goes inside one of its own events, so it forwards only while it still has one.
class FormWidget : public ReaderWindow {
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
        return twipsOf(QRect(QPoint(), QGuiApplication::primaryScreen()->geometry().size()));
    }
    void moveFrame(int left, int top) override {
        m_top->move(twips::toPixels(QPoint(left, top)) + screenOrigin());
    }

    std::string text(int row) const override;
    void setText(int row, const std::string& text) override;
    bool isVisible(int row) const override { return !control(row)->isHidden(); }
    void setVisible(int row, bool visible) override { control(row)->setVisible(visible); }
    bool isEnabled(int row) const override { return control(row)->isEnabled(); }
    void setEnabled(int row, bool enabled) override { control(row)->setEnabled(enabled); }
    TwipsRect place(int row) const override { return twipsOf(control(row)->geometry()); }
    void setLeft(int row, int left) override { twips::setLeft(control(row), left); }
    int value(int row) const override { return valueOf(control(row)); }
    void setValue(int row, int value) override { setValueOf(control(row), value); }
    void onFirstPaint(std::function<void()> callback) override {
        m_firstPaint = std::move(callback);
    }

protected:
    // Watches the top-level widget for its first paint, after which its icon comes in every size.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void buildControls();
    void placeWindow();
    void nameForReaders(int row);
    void describeForReaders();
    void orderTabs();
    std::function<void()> clickOf(int row) const;

    const FormDesign& m_design;
    EventSink& m_sink;
    QPointer<FormWidget> m_top;
    QWidget* m_client = nullptr;
    std::vector<QWidget*> m_widgets; // per row; nullptr for menus
    std::vector<QAction*> m_actions; // per row; nullptr for all but menus
    InputFilter m_input;
    std::function<void()> m_firstPaint;
    bool m_iconSizesToCome = false;
    bool m_exposedOnce = false;
    bool m_painted = false;
};

void FormWidget::closeEvent(QCloseEvent* event) {
    // The window's own handler decides what a close request does.
    event->ignore();
    if (m_owner)
        m_owner->raise({Event::Close});
}

QtWindow::QtWindow(const FormDesign& design, EventSink& sink)
    : m_design(design), m_sink(sink), m_top(new FormWidget(this)),
      m_widgets(design.controls.size(), nullptr), m_actions(design.controls.size(), nullptr),
      m_input(design, m_top, m_widgets, sink) {
    installReaderInterfaces();
    buildWindow();
    buildControls();
    for (int row = 0; row < int(design.controls.size()); ++row)
        nameForReaders(row);
    describeForReaders();
    orderTabs();
    placeWindow();

    m_top->installEventFilter(this);
    // Key preview and the default and cancel buttons see every key of this window first.
    qApp->installEventFilter(&m_input);
}

QtWindow::~QtWindow() {
    qApp->removeEventFilter(&m_input);
    if (m_top) {
        m_top->removeEventFilter(this);
        m_top->release();
        m_top->hide();
        // It may be inside one of its own events right now.
        m_top->deleteLater();
    }
}

void QtWindow::buildWindow() {
    m_top->setObjectName(qs(m_design.name));
    m_top->setWindowTitle(qs(m_design.caption));
    m_top->setFont(font(m_design.font));
    // The larger sizes, which are most of the icon's bytes, once the window has been painted.
    if (m_design.icon) {
        m_top->setWindowIcon(pictures::programWindowIcon(pictures::firstWindowIconSizes));
        m_iconSizesToCome = true;
    }

    const QRect client = twips::toPixels(0, 0, m_design.clientWidth, m_design.clientHeight);
    m_client = new QWidget;
    m_client->setObjectName(QStringLiteral("client"));
    m_top->setDialog(m_design.style == FormStyle::FixedDialog);
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

// In the table's order, so that a container is there before what it holds.
void QtWindow::buildControls() {
    for (int row = 0; row < int(m_design.controls.size()); ++row) {
        const ControlDesign& control = m_design.controls[std::size_t(row)];
        if (control.kind == ControlKind::Menu || control.kind == ControlKind::MenuItem) {
            m_actions[std::size_t(row)] = createMenuAction(control, m_top->menuBar(), clickOf(row));
        } else {
            const int container = containerRow(m_design, row);
            m_widgets[std::size_t(row)] = createControlWidget(
                control, container < 0 ? m_client : m_widgets[std::size_t(container)],
                clickOf(row));
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
    const QPoint at = twips::toPixels(QPoint(m_design.position->x, m_design.position->y)) +
                      screenOrigin() - QPoint(border, border + menuHeight);
    m_top->setGeometry(QRect(at, m_top->size()));
}

// A control's click, raised while the window it belongs to still stands.
std::function<void()> QtWindow::clickOf(int row) const {
    return [top = QPointer<FormWidget>(m_top), row] {
        if (top && top->owner())
            top->owner()->raise({Event::Click, row});
    };
}

// What a screen reader announces for a field: its name, and its heading through the label
// relation. A heading is the buddy of its first field. An editable combo box is named with its
// heading's words and labelled by nothing, as a reader says a combo box's label instead of its
// name, and a heading may head more than one; its editor, where the typing goes, carries the
// name too.
void QtWindow::nameForReaders(int row) {
    const ControlDesign& design = m_design.controls[std::size_t(row)];
    QWidget* field = m_widgets[std::size_t(row)];
    if (!field || !design.accessibleName)
        return;
    field->setAccessibleName(qs(design.accessibleName));
    if (auto* combo = dynamic_cast<ReaderComboBox*>(field)) {
        combo->lineEdit()->setAccessibleName(qs(design.accessibleName));
        return;
    }
    if (const int heading = headingRow(m_design, row); heading >= 0) {
        auto* label = qobject_cast<QLabel*>(control(heading));
        if (label && !label->buddy())
            label->setBuddy(field);
    }
}

// What a reader hears beyond the names: the fields an announced label is told with, each by
// its name and its text as it stands when asked; and a dialog's texts, the labels that head no
// field, from the top down.
void QtWindow::describeForReaders() {
    for (int row = 0; row < int(m_design.controls.size()); ++row) {
        const ControlDesign& design = m_design.controls[std::size_t(row)];
        auto* label = dynamic_cast<NewsLabel*>(control(row));
        if (!label || !design.announced)
            continue;
        std::vector<std::pair<QString, QPointer<QWidget>>> fields;
        for (const char* name : design.announcedWith) {
            const int field = findRow(m_design, name);
            if (field < 0)
                continue;
            const ControlDesign& told = m_design.controls[std::size_t(field)];
            fields.emplace_back(qs(told.accessibleName ? told.accessibleName : told.name),
                                control(field));
        }
        label->setTold([fields] {
            QStringList said;
            for (const auto& [name, widget] : fields)
                if (widget)
                    said.append(name + u' ' + QString::fromStdString(textOf(widget)).trimmed());
            return said.join(u", ");
        });
    }
    if (!m_top->isDialog())
        return;
    QList<QLabel*> labels;
    for (int row : describingLabels(m_design))
        if (auto* label = qobject_cast<QLabel*>(control(row)))
            labels.append(label);
    m_top->setTexts(labels);
}

// The first control in the Tab order has the focus when the window is first shown.
void QtWindow::orderTabs() {
    const std::vector<int> rows = tabOrder(m_design);
    for (std::size_t i = 1; i < rows.size(); ++i)
        QWidget::setTabOrder(control(rows[i - 1]), control(rows[i]));
    if (!rows.empty())
        control(rows.front())->setFocus(Qt::OtherFocusReason);
}

std::string QtWindow::text(int row) const {
    if (const QWidget* widget = control(row))
        return textOf(widget);
    return action(row)->text().toStdString();
}

void QtWindow::setText(int row, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (QWidget* widget = control(row))
        setTextOf(widget, value);
    else
        action(row)->setText(value);
}

// Also before the window has been shown: its frame is not there yet, so the window system is
// asked for the frame it will draw. Some tell it only once the window has been on the screen;
// until then the client area stands for it.
TwipsRect QtWindow::frame() const {
    m_top->winId();
    return twipsOf(m_top->geometry()
                       .marginsAdded(m_top->windowHandle()->frameMargins())
                       .translated(-screenOrigin()));
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
    // A close request delivered meanwhile may hide it, and then it is never exposed.
    while (!exposed() && m_top->isVisible() && waited.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    m_exposedOnce = exposed();
    // Its exposure paints it whole, in the same turn: then only what changed since, if anything.
    if (m_painted)
        QCoreApplication::sendPostedEvents(m_top, QEvent::UpdateRequest);
    else
        m_top->repaint();
}

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_top || event->type() != QEvent::Paint)
        return false;
    m_painted = true;
    if (m_firstPaint)
        std::exchange(m_firstPaint, nullptr)();
    if (std::exchange(m_iconSizesToCome, false))
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_top)
                    m_top->setWindowIcon(pictures::programWindowIcon());
            },
            Qt::QueuedConnection);
    return false;
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
