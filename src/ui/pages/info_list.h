#pragma once

#include <vector>

#include "core/app/maintenance_lists.h"

class QTreeWidget;
class QWidget;

namespace rvq {
class Strings;
}

namespace rvq::ui {

// A two-column "Item" / "Value" list with full-row selection, its column
// widths as the Japanese or English interface wants them.
QTreeWidget* MakeInfoList(const Strings& strings, bool isJapanese, QWidget* parent);

// Replaces the rows and fits the value column to them; the item column
// widens for long names only into room the values leave free.
void ShowRows(QTreeWidget* list, const std::vector<InfoRow>& rows);

// The rows as shown, for tests and the screenshot.
std::vector<InfoRow> ShownRows(const QTreeWidget* list);

}  // namespace rvq::ui
