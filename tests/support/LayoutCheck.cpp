#include "tests/support/LayoutCheck.h"

#include "platform/FormRules.h"

#include <functional>

namespace testsupport {

namespace {

// The row whose control holds the row's: -1 for the client area, -2 for anything else.
int builtIn(const platform::FormDesign& design, const LayoutProbe& probe, int row) {
    const void* parent = probe.parentObject(row);
    if (parent == probe.clientObject())
        return -1;
    if (!parent)
        return -2;
    for (int other = 0; other < int(design.controls.size()); ++other)
        if (probe.object(other) == parent)
            return other;
    return -2;
}

using platform::ControlDesign;
using platform::ControlKind;
using platform::FormDesign;

std::string show(const Pixels& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) +
           "x" + std::to_string(r.height);
}

std::string show(const Point& p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

std::string show(const Extent& e) {
    return std::to_string(e.width) + "x" + std::to_string(e.height);
}

std::string nameOf(const ControlDesign& control) {
    return control.index < 0
               ? control.name
               : std::string(control.name) + "(" + std::to_string(control.index) + ")";
}

bool isMenu(const ControlDesign& control) {
    return control.kind == ControlKind::Menu || control.kind == ControlKind::MenuItem;
}

// Placed outside its container by the design (a page not shown), or inside such a control.
bool parked(const FormDesign& design, int row) {
    const ControlDesign& control = design.controls[std::size_t(row)];
    if (control.kind != ControlKind::Line && control.rect.left < 0)
        return true;
    const int container = platform::containerRow(design, row);
    return container >= 0 && parked(design, container);
}

bool inside(const Pixels& inner, const Pixels& outer) {
    return inner.left >= outer.left && inner.top >= outer.top &&
           inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
}

bool inside(const Point& p, const Pixels& r) {
    return p.x >= r.left && p.y >= r.top && p.x < r.left + r.width && p.y < r.top + r.height;
}

bool overlap(const Pixels& a, const Pixels& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

} // namespace

std::vector<std::string> layoutFaults(const platform::Form& form, const LayoutProbe& probe) {
    const FormDesign& design = form.design();
    const auto pixels = [&probe](const platform::TwipsRect& r) {
        return Pixels{probe.pixelsX(r.left), probe.pixelsY(r.top), probe.pixelsX(r.width),
                      probe.pixelsY(r.height)};
    };
    std::vector<std::string> faults;

    const Extent client = probe.clientSize();
    const Pixels table = pixels({0, 0, design.clientWidth, design.clientHeight});
    if (client.width != table.width || client.height != table.height)
        faults.push_back("client area " + show(client) + ", table " + show(table));
    if (design.position) {
        const Point expected{probe.pixelsX(design.position->x), probe.pixelsY(design.position->y)};
        if (const std::optional<Point> at = probe.clientOnScreen(); at && *at != expected)
            faults.push_back("client area on the screen at " + show(*at) + ", table " +
                             show(expected));
    }

    struct Focusable {
        std::string name;
        Pixels area;
    };
    std::vector<Focusable> focusable;
    for (int row = 0; row < int(design.controls.size()); ++row) {
        const ControlDesign& control = design.controls[std::size_t(row)];
        if (isMenu(control))
            continue;
        const std::string name = nameOf(control);
        const auto fault = [&](const std::string& text) { faults.push_back(name + ": " + text); };
        const int container = platform::containerRow(design, row);

        if (control.kind == ControlKind::Line) {
            const auto ends = probe.lineEnds(row);
            if (!ends) // drawn by its container
                continue;
            const Point from{probe.pixelsX(control.from.x), probe.pixelsY(control.from.y)};
            const Point to{probe.pixelsX(control.to.x), probe.pixelsY(control.to.y)};
            if (builtIn(design, probe, row) != container)
                fault("not inside its container");
            if (ends->first != from || ends->second != to)
                fault("line " + show(ends->first) + " to " + show(ends->second) + ", table " +
                      show(from) + " to " + show(to));
            const Pixels room = probe.room(container);
            if (!inside(from, room) || !inside(to, room))
                fault("line leaves its container");
            continue;
        }
        if (!probe.object(row)) {
            fault("no control");
            continue;
        }
        if (builtIn(design, probe, row) != container) {
            fault("not inside its container");
            continue;
        }

        // Where it stands, where the window says it stands, and where the table puts it.
        const Pixels at = probe.place(row);
        const bool ownHeight = probe.heightFromFont(row);
        const auto samePlace = [&](const Pixels& other) {
            return at.left == other.left && at.top == other.top && at.width == other.width &&
                   (ownHeight || at.height == other.height);
        };
        if (const Pixels said = pixels(form.window().place(row)); !samePlace(said))
            fault("at " + show(at) + ", the window says " + show(said));
        const Pixels box = pixels(control.rect);
        if (control.kind == ControlKind::Label && control.autoSize) {
            // Grown from its design box: the top stays, and the edge the text is aligned to.
            const bool keepsEdge = control.alignRight ? at.left + at.width == box.left + box.width
                                                      : at.left == box.left;
            if (at.top != box.top || !keepsEdge)
                fault("at " + show(at) + ", its design box " + show(box));
        } else if (!samePlace(box)) {
            fault("at " + show(at) + ", table " + show(box));
        }
        if (parked(design, row))
            continue;

        if (const Pixels room = probe.room(container); !inside(at, room))
            fault(show(at) + " outside its container's " + show(room));
        if (const std::optional<Caption> caption = probe.caption(row)) {
            const Extent needed = caption->needed;
            if (needed.width > caption->room.width || needed.height > caption->room.height)
                fault("caption needs " + show(needed) + ", has " + show(caption->room));
            if (control.autoSize && (at.width != needed.width || at.height != needed.height))
                fault(show(Extent{at.width, at.height}) + ", its caption " + show(needed));
        }
        const bool takesFocus = platform::takesFocus(control);
        if (probe.focusable(row) != takesFocus)
            fault(takesFocus ? "cannot take the focus" : "can take the focus");
        if (takesFocus && platform::startsEnabled(design, row))
            focusable.push_back({name, probe.focusArea(row)});
    }
    for (std::size_t i = 0; i < focusable.size(); ++i)
        for (std::size_t j = i + 1; j < focusable.size(); ++j)
            if (overlap(focusable[i].area, focusable[j].area))
                faults.push_back(focusable[i].name + " and " + focusable[j].name + " overlap");

    // Windows walks the Tab order down the stacking of each container in turn: that walk must
    // meet the controls in the window's one Tab order, or the two systems would differ.
    std::vector<int> walked;
    const std::function<void(int)> walk = [&](int container) {
        for (int row : platform::stackingOrder(design, container)) {
            if (platform::takesFocus(design.controls[std::size_t(row)]))
                walked.push_back(row);
            walk(row);
        }
    };
    walk(-1);
    if (walked != platform::tabOrder(design))
        faults.push_back("the Tab order across containers differs from their stacking");
    return faults;
}

} // namespace testsupport
