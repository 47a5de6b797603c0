#pragma once

#include <initializer_list>

class QHeaderView;

namespace rvq::ui {

// Gives a list's columns these widths, each widened where its header text
// needs more, so that no header is cut ("Port Number" in a narrow column,
// a longer Japanese header).
void SetColumnWidths(QHeaderView* header, std::initializer_list<int> widths);

}  // namespace rvq::ui
