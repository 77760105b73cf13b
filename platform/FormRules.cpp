#include "platform/FormRules.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

namespace platform {

namespace {

const ControlDesign& at(const FormDesign& design, int row) {
    return design.controls[std::size_t(row)];
}

bool isMenu(ControlKind kind) {
    return kind == ControlKind::Menu || kind == ControlKind::MenuItem;
}

// Rows without a tab index go after all that have one.
int tabKey(const ControlDesign& control) {
    return control.tabIndex < 0 ? INT_MAX : control.tabIndex;
}

void sortByTabIndex(const FormDesign& design, std::vector<int>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [&design](int a, int b) {
        return tabKey(at(design, a)) < tabKey(at(design, b));
    });
}

int firstWith(const FormDesign& design, bool ControlDesign::*role) {
    for (int row = 0; row < int(design.controls.size()); ++row)
        if (at(design, row).*role)
            return row;
    return -1;
}

} // namespace

int findRow(const FormDesign& design, const char* name, int index) {
    for (std::size_t row = 0; row < design.controls.size(); ++row) {
        const ControlDesign& control = design.controls[row];
        if (control.index == index && std::strcmp(control.name, name) == 0)
            return int(row);
    }
    return -1;
}

int containerRow(const FormDesign& design, int row) {
    const ControlRef& container = at(design, row).container;
    return container.name ? findRow(design, container.name, container.index) : -1;
}

bool takesFocus(const ControlDesign& control) {
    switch (control.kind) {
    case ControlKind::TextBox:
    case ControlKind::ComboBox:
    case ControlKind::DropDownList:
    case ControlKind::CheckBox:
    case ControlKind::CommandButton:
    case ControlKind::TabStrip:
    case ControlKind::PictureBox:
        return control.takesFocus;
    default:
        return false;
    }
}

bool startsEnabled(const FormDesign& design, int row) {
    for (; row >= 0; row = containerRow(design, row))
        if (at(design, row).disabled)
            return false;
    return true;
}

std::vector<int> tabOrder(const FormDesign& design) {
    std::vector<int> rows;
    for (int row = 0; row < int(design.controls.size()); ++row)
        if (takesFocus(at(design, row)))
            rows.push_back(row);
    sortByTabIndex(design, rows);
    return rows;
}

std::vector<int> stackingOrder(const FormDesign& design, int container) {
    std::vector<int> rows;
    for (int row = 0; row < int(design.controls.size()); ++row)
        if (!isMenu(at(design, row).kind) && containerRow(design, row) == container)
            rows.push_back(row);
    sortByTabIndex(design, rows);

    // A heading moves up to its first field in this container; one that names no field here
    // keeps its place.
    std::vector<int> headings;
    for (int row : rows)
        if (const int label = headingRow(design, row);
            label >= 0 && containerRow(design, label) == container)
            headings.push_back(label);
    const auto isHeading = [&headings](int row) {
        return std::find(headings.begin(), headings.end(), row) != headings.end();
    };
    std::vector<int> order;
    for (int row : rows) {
        if (const int label = headingRow(design, row);
            isHeading(label) && std::find(order.begin(), order.end(), label) == order.end())
            order.push_back(label);
        if (!isHeading(row))
            order.push_back(row);
    }
    return order;
}

int defaultButtonRow(const FormDesign& design) {
    return firstWith(design, &ControlDesign::defaultButton);
}

int cancelButtonRow(const FormDesign& design) {
    return firstWith(design, &ControlDesign::cancelButton);
}

int headingRow(const FormDesign& design, int row) {
    const char* heading = at(design, row).heading;
    return heading ? findRow(design, heading) : -1;
}

std::vector<int> describingLabels(const FormDesign& design) {
    const int rows = int(design.controls.size());
    std::vector<bool> heads(std::size_t(rows), false);
    for (int row = 0; row < rows; ++row)
        if (const int heading = headingRow(design, row); heading >= 0)
            heads[std::size_t(heading)] = true;
    std::vector<int> labels;
    for (int row = 0; row < rows; ++row)
        if (at(design, row).kind == ControlKind::Label && !heads[std::size_t(row)])
            labels.push_back(row);
    std::stable_sort(labels.begin(), labels.end(), [&design](int a, int b) {
        const TwipsRect& first = at(design, a).rect;
        const TwipsRect& second = at(design, b).rect;
        return std::pair(first.top, first.left) < std::pair(second.top, second.left);
    });
    return labels;
}

} // namespace platform
