#pragma once

#include "platform/Form.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The one layout check of the suites of both systems: what a front end built for a window, read
// through a probe of that front end, against the window's own table.
namespace testsupport {

struct Pixels {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Pixels&) const = default;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Extent {
    int width = 0;
    int height = 0;
};

// What a caption needs and the room its control gives it, in the control's pixels.
struct Caption {
    Extent needed;
    Pixels room;
};

// Reads what a front end built for a window; controls are rows of its table.
class LayoutProbe {
public:
    virtual ~LayoutProbe() = default;

    // Twips in this display's pixels, as the front end converts them.
    virtual int pixelsX(int twips) const = 0;
    virtual int pixelsY(int twips) const = 0;

    // The client area's size, and its top left corner on the screen.
    virtual Extent clientSize() const = 0;
    virtual std::optional<Point> clientOnScreen() const = 0;

    // The front end's own object for the row (null where it built none), for the client area, and
    // for what holds the row's object.
    virtual const void* object(int row) const = 0;
    virtual const void* clientObject() const = 0;
    virtual const void* parentObject(int row) const = 0;
    // Its place in the client area of what holds it.
    virtual Pixels place(int row) const = 0;
    // Where a container (-1: the client area) lets its controls stand, in its own pixels.
    virtual Pixels room(int container) const = 0;
    // A control whose height its font gives rather than the table.
    virtual bool heightFromFont(int /*row*/) const { return false; }
    // A line's two ends in its container, where the front end makes it a control.
    virtual std::optional<std::pair<Point, Point>> lineEnds(int /*row*/) const { return {}; }
    // Whether the control can take the focus, and the part of it that does, in the client area.
    virtual bool focusable(int row) const = 0;
    virtual Pixels focusArea(int row) const = 0;
    // Its caption's needs, where the front end can tell them.
    virtual std::optional<Caption> caption(int row) const = 0;
};

// Every control at its table place in pixels (an auto-sized label at its caption's extent, from
// the edge it keeps) and where the window says it is, inside its container; the client area of
// the table's size at the table's place on the screen; every caption whole in its box; the
// controls that take the focus as the table's rules say, and no two of them over each other;
// the Tab order the same as a walk down the containers' stacking. Controls parked outside their
// container by the design, and whatever they hold, are only checked for their place. One line
// per fault; none when the window is as its table says.
std::vector<std::string> layoutFaults(const platform::Form& form, const LayoutProbe& probe);

} // namespace testsupport
