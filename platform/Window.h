#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

// The window layer: how a window and its controls are described, and what a front end (Qt on
// Linux, Win32 on Windows) offers the windows' own code. Each window states its controls once, as
// a table of ControlDesign rows; the front end builds the native controls from that table and
// reports the user's actions back as Events. Positions are twips (1/1440 inch) relative to the
// client area of the container; texts are UTF-8.
namespace platform {

enum class ControlKind {
    Label,
    TextBox,
    ComboBox,     // editable, with an empty list
    DropDownList, // only its items can be chosen
    CheckBox,
    CommandButton,
    PictureBox,
    Image, // stretches its picture
    Line,
    Frame,
    Panel, // a plain container that holds other controls
    TabStrip,
    Menu,
    MenuItem,
};

enum class Picture { None, ProgramIcon, Horse };

struct FontDesign {
    const char* face = "MS Sans Serif";
    double points = 8.25;
    int weight = 400; // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
};

struct Colour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct TwipsPoint {
    int x = 0;
    int y = 0;
};

// A container is named by the control's name and, in a control array, its index.
struct ControlRef {
    const char* name = nullptr;
    int index = -1;
};

struct TabDesign {
    const char* caption;
    const char* key;
    const char* toolTip;
};

// One control of a window, as it stands at design time. Rows are written with designated
// initializers in this order of fields; whatever a row leaves out takes these defaults.
struct ControlDesign {
    const char* name;
    ControlKind kind;
    int index = -1;         // place in its control array, else -1
    ControlRef container{}; // none: the window's client area
    TwipsRect rect{};
    TwipsPoint from{}; // a line's end points
    TwipsPoint to{};
    int lineWidth = 1;                // pixels
    const char* text = "";            // caption, or design-time text
    std::optional<FontDesign> font{}; // none: the window's font
    std::optional<Colour> colour{};   // text colour, or a line's colour
    int tabIndex = -1;
    const char* toolTip = nullptr;
    const char* accessibleName = nullptr; // for fields: their heading's words
    const char* heading = nullptr;        // the label that names this field
    std::span<const char* const> items{}; // a list's items
    std::span<const TabDesign> tabs{};
    Picture picture = Picture::None;
    bool autoSize = false;   // a label takes its caption's extent; others wrap within their box
    bool alignRight = false; // a label's text, and the edge an auto-sized label keeps
    bool readOnly = false;
    bool takesFocus = true;     // where the kind could take it
    bool defaultButton = false; // Enter presses it
    bool cancelButton = false;  // Esc presses it
    bool sunken = false;        // a picture box's sunken border
    bool disabled = false;
    bool announced = false; // a label whose text screen readers speak whenever it appears
    // An announced label: the fields whose headings and texts screen readers hear after its own
    // text, as the window shows them once the event that showed it has been handled.
    std::span<const char* const> announcedWith{};
};

enum class FormStyle {
    Sizable,     // caption, resizable frame, minimize and maximize
    FixedDialog, // caption with a close button only, no resizing
    Splash,      // no caption, no control box: a fixed dialog frame alone
};

struct FormDesign {
    const char* name;
    const char* caption;
    FormStyle style;
    int clientWidth;
    int clientHeight;
    std::optional<TwipsPoint> position{}; // the client area's place on the screen
    FontDesign font{};
    bool icon = false;       // the program's icon in the caption and the task list
    bool keyPreview = false; // keys reach the window's handlers before the focused control's
    std::span<const ControlDesign> controls{};
};

// What the user did. Control rows are indices into the window's table; -1 is the window itself.
struct Event {
    enum Kind {
        Click,    // a button, a menu entry, a frame's bare area, a change of the selected tab
        KeyDown,  // key preview: keyCode as the system numbers keys (Tab 9), shift Shift 1 Ctrl 2
                  // Alt 4
        KeyPress, // key preview: a key that produced a character; keyCode holds the character
        Close,    // a close request from the window system
    };
    Kind kind;
    int control = -1;
    int keyCode = 0;
    int shift = 0;
};

// The window's own code, which the front end tells of every event. It never throws.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void handle(const Event& event) noexcept = 0;
};

// One native window with its controls, built by the front end from a FormDesign. Controls are
// addressed by their row in the table. Destroying it takes the window down; the front end makes
// that safe also from inside one of the window's own events.
class NativeWindow {
public:
    virtual ~NativeWindow() = default;

    // Shown modeless, with no owner; a visible window only comes to the front.
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual bool isVisible() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // Drawn at once, without handling any input.
    virtual void paintNow() = 0;
    // The whole frame on the screen, and the screen's size, in twips.
    virtual TwipsRect frame() const = 0;
    virtual TwipsRect screen() const = 0;
    // Moves the outer frame, keeping its size.
    virtual void moveFrame(int left, int top) = 0;

    // A text box's or combo box's text, a label's or button's caption; a list's chosen item.
    virtual std::string text(int control) const = 0;
    // Setting a list's text chooses the item of that text, or none.
    virtual void setText(int control, const std::string& text) = 0;
    virtual bool isVisible(int control) const = 0;
    virtual void setVisible(int control, bool visible) = 0;
    virtual bool isEnabled(int control) const = 0;
    virtual void setEnabled(int control, bool enabled) = 0;
    virtual TwipsRect place(int control) const = 0;
    virtual void setLeft(int control, int left) = 0;
    // A check box: 0 unchecked, 1 checked. A tab strip: the selected tab's 1-based index.
    virtual int value(int control) const = 0;
    // Selecting another tab raises a Click of the tab strip; selecting the same one does nothing.
    virtual void setValue(int control, int value) = 0;

    // Runs once, at the window's first paint (for start-up measurements).
    virtual void onFirstPaint(std::function<void()> callback) = 0;
};

// The row of the control of that name and index in a window's table, or -1.
int findRow(const FormDesign& design, const char* name, int index = -1);

// Builds a window through this system's front end.
std::unique_ptr<NativeWindow> createNativeWindow(const FormDesign& design, EventSink& sink);

} // namespace platform
