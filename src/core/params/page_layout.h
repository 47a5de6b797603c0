#pragma once

#include <vector>

namespace rvq::params {

// How a control is drawn when its item's kind alone does not say it: a
// masked password edit, or an edit that only shows the printer's value
// beside the editable one. Auto takes the shape from the item's kind.
enum class ControlShape { Auto, Password, Shown };

struct LayoutControl {
    int ctrlId = 0;
    ControlShape shape = ControlShape::Auto;
};

// One line of a group frame: a caption, its controls side by side and a
// unit after them. A caption id of 0 takes the caption of the first
// control whose item has one.
struct LayoutRow {
    std::vector<LayoutControl> controls;
    int unitId = 0;
    int captionId = 0;
};

struct LayoutGroup {
    int pageIndex = 0;
    int checkBoxId = 0;
    std::vector<LayoutRow> rows;
};

// The seven parameter pages as the user sees them: per page the group
// frames in order, per group its rows in order. The definition file says
// which item sits behind a control; this says where and how it is shown.
const std::vector<LayoutGroup>& ParameterLayout();

// The layout of the group with this check box id, or null.
const LayoutGroup* FindLayoutGroup(int checkBoxId);

// The shape the layout gives a control (Auto for one it does not list).
ControlShape ShapeOf(int ctrlId);

}  // namespace rvq::params
