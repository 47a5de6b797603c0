#pragma once

#include <cstddef>
#include <vector>

namespace rvq::params {

// How the group frames of a parameter page stand side by side: as many
// columns as the page's width takes, the frames kept in their order and
// read down one column, then the next. Within a column the captions share
// one width, so the fields of its frames start at the same place.

// A frame's natural size: its caption column, the rest of its width
// (fields, units, margins) and its height.
struct FrameSize {
    int caption = 0;
    int rest = 0;
    int height = 0;
};

struct ColumnPlan {
    std::vector<std::size_t> counts;  // frames per column, in order
    std::vector<int> captionWidths;   // per column
    int width = 0;                    // of all columns with the spacing between them
};

// The most columns whose frames fit into `available` (one column when
// even that is too wide), `spacing` between columns and between the
// frames of a column.
ColumnPlan PlanColumns(const std::vector<FrameSize>& frames, int available, int spacing);

// Splits frames of these heights, in order, into `columns` runs whose
// tallest is as short as it can be (`spacing` between two frames of a
// run). Returns how many frames each column takes, at most one column per
// frame.
std::vector<std::size_t> SplitIntoColumns(const std::vector<int>& heights, int columns,
                                          int spacing);

}  // namespace rvq::params
