#pragma once

#include "platform/Window.h"

#include <vector>

// What a window's table implies beyond its single rows: which controls take the focus and in
// which order, how each container stacks its controls, which buttons Enter and Esc press and
// which label names a field. Decided here once, so that both front ends and the tests agree.
namespace platform {

// The row of the container that holds a control, or -1 for the window's client area.
int containerRow(const FormDesign& design, int row);

// Whether the control can take the focus: by its kind, and where its row allows it. Labels,
// images, lines, frames, panels and menus never do.
bool takesFocus(const ControlDesign& control);

// Whether the control and every container around it start enabled.
bool startsEnabled(const FormDesign& design, int row);

// The rows that take the focus, in the order the Tab key visits them: ascending tab index, a
// row without one last, the table's order among equals. The first one has the focus when the
// window is first shown.
std::vector<int> tabOrder(const FormDesign& design);

// A container's own controls (container -1: the client area's), menus left out, from the top of
// its stack down. That is their Tab order, and each field's heading label stands just before
// the field, where a screen reader looks for a field's name.
std::vector<int> stackingOrder(const FormDesign& design, int container);

// The button that Enter presses and the one that Esc presses, or -1.
int defaultButtonRow(const FormDesign& design);
int cancelButtonRow(const FormDesign& design);

// The row of the label that names a field, or -1.
int headingRow(const FormDesign& design, int row);

// The labels that describe a dialog to a screen reader as it opens, in reading order (top down,
// then left to right): every label but the headings, which are heard with their fields.
std::vector<int> describingLabels(const FormDesign& design);

} // namespace platform
