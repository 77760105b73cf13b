#include "ui/splash/frmSplash.h"

#include "platform/AutoSizeLabel.h"
#include "platform/Controls.h"
#include "platform/EventGuard.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "resources/Pictures.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

namespace twips = platform::twips;
using platform::label;
using platform::place;

namespace {

// The raised edge of a fixed dialog frame, around the client area, in pixels.
constexpr int borderWidth = 3;

QFont arial(double pointSize, int weight = 400) {
    return platform::font("Arial", pointSize, weight);
}

// The design box is where the label starts; it then takes its caption's size. Right-aligned
// captions grow to the left, so that the platform and version lines stay flush with each other.
platform::AutoSizeLabel* autoSizeLabel(QWidget* frame, const char* name, const char* caption,
                                       int left, int top, int width, int height, const QFont& font,
                                       Qt::Alignment alignment) {
    auto* control = place(new platform::AutoSizeLabel(QString::fromUtf8(caption), frame), name,
                          left, top, width, height);
    // Aligned first: fitting from the design box needs to know which edge stays.
    control->setAlignment(alignment | Qt::AlignTop);
    control->setFont(font);
    control->fitToCaption();
    return control;
}

} // namespace

platform::WindowInstance<frmSplash>& frmSplash::instance() {
    static platform::WindowInstance<frmSplash> instance;
    return instance;
}

frmSplash::frmSplash() {
    setObjectName(QStringLiteral("frmSplash"));
    // No caption and no control box, so no title bar; the frame is drawn here, and as a splash
    // the window gets no taskbar button of its own.
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setWindowTitle(QString());
    setWindowIcon(pictures::programWindowIcon());
    setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    setFocusPolicy(Qt::NoFocus);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    const QRect clientRect = twips::toPixels(0, 0, 7380, 4245);
    client->setGeometry(clientRect.translated(borderWidth, borderWidth));
    createControls(client);

    setFixedSize(
        clientRect.size().grownBy(QMargins(borderWidth, borderWidth, borderWidth, borderWidth)));
    twips::moveWindow(this, 3180, 3615);

    // Key preview: every control's keys come here first. Nothing takes the focus, so keys
    // usually arrive at the window itself anyway.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->setFocusPolicy(Qt::NoFocus);
        child->installEventFilter(this);
    }
}

void frmSplash::createControls(QWidget* client) {
    Frame1 = place(new QFrame(client), "Frame1", 150, 60, 7080, 4050);
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);

    imgLogo = place(new QLabel(Frame1), "imgLogo", 360, 795, 1815, 2385);
    // Blown up with hard pixel edges rather than blurred, as a stretched icon looks.
    imgLogo->setPixmap(pictures::programIcon().scaled(imgLogo->size(), Qt::IgnoreAspectRatio,
                                                      Qt::FastTransformation));
    imgLogo->setScaledContents(true);

    const QFont small = arial(8.25);
    lblCopyright =
        label(Frame1, "lblCopyright", "Copyright \u00a9 Tollick's", 4560, 3060, 2415, 255, small);
    lblCompany = label(Frame1, "lblCompany", "Tollick's Software", 4560, 3270, 2415, 255, small);
    lblWarning = label(Frame1, "lblWarning", "Warning: Use this program entirely at your own risk.",
                       150, 3660, 6855, 195, small);
    lblVersion = autoSizeLabel(Frame1, "lblVersion", "Version", 5970, 2700, 885, 285,
                               arial(12, 700), Qt::AlignRight);
    lblPlatform = autoSizeLabel(Frame1, "lblPlatform", "Win32", 5910, 2340, 945, 360,
                                arial(15.75, 700), Qt::AlignRight);
    lblProductName = autoSizeLabel(Frame1, "lblProductName", "Quorvex", 2520, 1140, 3720, 765,
                                   arial(32.25, 700), Qt::AlignLeft);
    lblLicenseTo = label(Frame1, "lblLicenseTo", "Licensed to the owner of this copy", 120, 240,
                         6855, 255, small);
    lblCompanyProduct = autoSizeLabel(Frame1, "lblCompanyProduct", "Tollick's", 2355, 705, 1320,
                                      435, arial(18, 700), Qt::AlignLeft);
}

void frmSplash::Form_Load(const platform::AppVersionNumbers& version) {
    lblVersion->setCaption(QString::fromStdString(platform::versionLine(version)));
    lblProductName->setCaption(QString::fromLatin1(platform::appTitle));
}

void frmSplash::Form_KeyPress(int /*keyAscii*/) {
    instance().unload();
}

void frmSplash::Frame1_Click() {
    instance().unload();
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Frame1)
        watchFrame1(event);
    if (event->type() == QEvent::KeyPress)
        return previewKey(event);
    return QFrame::eventFilter(watched, event);
}

// The key handler runs before the control's own and, whenever it runs, takes the key, so a
// key that a control passes on to its parent never reaches the handler twice.
bool frmSplash::previewKey(QEvent* event) {
    const QString character = static_cast<QKeyEvent*>(event)->text();
    if (character.isEmpty())
        return false;
    const int keyAscii = character.at(0).unicode();
    platform::guarded([&] { Form_KeyPress(keyAscii); });
    return true;
}

// A click is a press and a release of the left button on the frame's bare area. A press on a
// label or the image reaches the frame too, since they ignore it; it is not the frame's.
void frmSplash::watchFrame1(QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)
        return;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton)
        return;
    const QPoint at = mouse->position().toPoint();
    if (type == QEvent::MouseButtonPress) {
        m_frame1Pressed = Frame1->childAt(at) == nullptr;
        return;
    }
    const bool clicked = m_frame1Pressed && Frame1->rect().contains(at);
    m_frame1Pressed = false;
    if (clicked)
        platform::guarded([&] { Frame1_Click(); });
}
