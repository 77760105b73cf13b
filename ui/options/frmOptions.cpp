#include "ui/options/frmOptions.h"

#include "platform/CheckedMath.h"
#include "platform/Controls.h"
#include "platform/EventGuard.h"
#include "platform/Fonts.h"
#include "platform/RuntimeError.h"
#include "platform/TabOrder.h"
#include "platform/TabStrip.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <cmath>

namespace twips = platform::twips;
using platform::place;
using platform::RuntimeError;

namespace {

constexpr int panelShownLeft = 210;
constexpr int panelParkedLeft = -20000;

constexpr int keyTab = 9;
constexpr int shiftMask = 1;
constexpr int ctrlMask = 2;
constexpr int altMask = 4;

QWidget* panel(QWidget* window, int index) {
    auto* control = place(new QWidget(window), "picOptions",
                          index == 0 ? panelShownLeft : panelParkedLeft, 480, 5685, 3780);
    control->setProperty("index", index);
    control->setEnabled(index == 0);
    return control;
}

QGroupBox* sampleFrame(QWidget* panel, const char* name, const char* caption, int left, int top) {
    return place(new QGroupBox(QString::fromLatin1(caption), panel), name, left, top, 2055, 1785);
}

// Handlers work in 16-bit integers; stepping past their range is an overflow.
int checked16(int value) {
    if (value < -32768 || value > 32767)
        throw RuntimeError::of(RuntimeError::Overflow);
    return value;
}

// The centring is done in single precision, each step checked.
float single(float value) {
    platform::checked::result(value);
    return value;
}

// The window system's key number of a key, as far as a handler looks at it: the dialog's only
// key handler watches for Tab, so every other key is passed as 0.
int keyCodeOf(const QKeyEvent& event) {
    return event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab ? keyTab : 0;
}

int shiftStateOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    int shift = 0;
    // Shift+Tab arrives as Backtab, sometimes without the Shift modifier.
    if (modifiers & Qt::ShiftModifier || event.key() == Qt::Key_Backtab)
        shift |= shiftMask;
    if (modifiers & Qt::ControlModifier)
        shift |= ctrlMask;
    if (modifiers & Qt::AltModifier)
        shift |= altMask;
    return shift;
}

} // namespace

platform::WindowInstance<frmOptions>& frmOptions::instance() {
    static platform::WindowInstance<frmOptions> instance;
    return instance;
}

frmOptions::frmOptions() {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    platform::makeFixedDialog(this, 6150, 4920);
    setFont(platform::defaultFont());

    createControls();
    connectHandlers();

    // Key preview: every key of this window passes Form_KeyDown before its control.
    qApp->installEventFilter(this);
}

frmOptions::~frmOptions() {
    qApp->removeEventFilter(this);
}

void frmOptions::createControls() {
    picOptions[3] = panel(this, 3);
    fraSample4 = sampleFrame(picOptions[3], "fraSample4", "Sample 4", 2100, 840);
    picOptions[2] = panel(this, 2);
    fraSample3 = sampleFrame(picOptions[2], "fraSample3", "Sample 3", 1545, 675);
    picOptions[1] = panel(this, 1);
    fraSample2 = sampleFrame(picOptions[1], "fraSample2", "Sample 2", 645, 300);
    picOptions[0] = panel(this, 0);
    txtPath = place(new QLineEdit(QStringLiteral("c:\\"), picOptions[0]), "txtPath", 240, 2880,
                    5175, 285);
    lblPath = place(new QLabel(QStringLiteral("Path to Save results file:"), picOptions[0]),
                    "lblPath", 240, 2400, 2175, 255);
    lblPath->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    cmdApply =
        place(new QPushButton(QStringLiteral("Apply"), this), "cmdApply", 4920, 4455, 1095, 375);
    cmdCancel =
        place(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel", 3720, 4455, 1095, 375);
    cmdOK = place(new QPushButton(QStringLiteral("OK"), this), "cmdOK", 2490, 4455, 1095, 375);
    // Enter presses no button of this dialog; Esc presses Cancel (see previewKey).
    for (QPushButton* button : {cmdApply, cmdCancel, cmdOK})
        button->setAutoDefault(false);

    tbsOptions = place(new platform::TabStrip(this), "tbsOptions", 105, 120, 5895, 4245);
    tbsOptions->setFont(platform::font("MS Sans Serif", 8.25));
    tbsOptions->Tabs().add(QStringLiteral("PathNames"), QStringLiteral("Group1"),
                           QStringLiteral("Set Options for Pathnames"));
    // Made last, it lies beneath the panels that show its pages.
    tbsOptions->lower();

    platform::setTabOrder({tbsOptions, cmdOK, cmdCancel, cmdApply, txtPath});
}

void frmOptions::connectHandlers() {
    using platform::handler;
    connect(tbsOptions, &platform::TabStrip::Click, this,
            handler(this, &frmOptions::tbsOptions_Click));
    connect(cmdOK, &QPushButton::clicked, this, handler(this, &frmOptions::cmdOK_Click));
    connect(cmdCancel, &QPushButton::clicked, this, handler(this, &frmOptions::cmdCancel_Click));
    connect(cmdApply, &QPushButton::clicked, this, handler(this, &frmOptions::cmdApply_Click));
}

void frmOptions::Form_Load() {
    // The outer frame: the client area plus the frame the window system will draw. Some
    // window systems only tell the frame once the window has been on the screen; until then
    // the client area stands for it.
    winId();
    const QSize frame = size().grownBy(windowHandle()->frameMargins());
    const QRect area = QGuiApplication::primaryScreen()->geometry();
    const float screenWidth = float(twips::fromPixels(area.width()));
    const float screenHeight = float(twips::fromPixels(area.height()));
    const float width = float(twips::fromPixels(frame.width()));
    const float height = float(twips::fromPixels(frame.height()));
    const float left = single(single(screenWidth - width) / 2.0f);
    const float top = single(single(screenHeight - height) / 2.0f);
    twips::moveWindow(this, int(std::lround(left)) + twips::fromPixels(area.x()),
                      int(std::lround(top)) + twips::fromPixels(area.y()));
}

void frmOptions::tbsOptions_Click() {
    const int count = tbsOptions->Tabs().count();
    for (int i = 0; i < count; ++i) {
        if (i >= int(picOptions.size()))
            throw RuntimeError(RuntimeError::ControlArrayElementMissing,
                               "Control array element '" + std::to_string(i) + "' doesn't exist");
        QWidget* panel = picOptions[std::size_t(i)];
        const int selected = tbsOptions->SelectedItem().index;
        if (i == checked16(selected - 1)) {
            twips::setLeft(panel, panelShownLeft);
            panel->setEnabled(true);
        } else {
            twips::setLeft(panel, panelParkedLeft);
            panel->setEnabled(false);
        }
    }
}

void frmOptions::Form_KeyDown(int keyCode, int shift) {
    if (keyCode != keyTab || shift != ctrlMask)
        return;
    const int selected = tbsOptions->SelectedItem().index;
    const int count = tbsOptions->Tabs().count();
    tbsOptions->setSelectedItem(selected == count ? 1 : checked16(selected + 1));
}

void frmOptions::cmdOK_Click() {
    hide();
}

void frmOptions::cmdCancel_Click() {
    instance().unload();
}

void frmOptions::cmdApply_Click() {
    repaint();
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease &&
         type != QEvent::ShortcutOverride) ||
        !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this)
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
    return previewKey(static_cast<QKeyEvent*>(event));
}

bool frmOptions::previewKey(QKeyEvent* event) {
    const int keyCode = keyCodeOf(*event);
    const int shift = shiftStateOf(*event);
    platform::guarded([&] { Form_KeyDown(keyCode, shift); });
    // Cancel is the dialog's cancel button.
    if (event->key() == Qt::Key_Escape && cmdCancel->isEnabled() && isVisible()) {
        cmdCancel->click();
        return true;
    }
    return false;
}

void frmOptions::closeEvent(QCloseEvent* event) {
    event->accept();
    instance().unload();
}
