#pragma once

class QWidget;

namespace rvq::ui {

class PageView;
struct UiServices;

// The pages of the Maintenance category (Self Diagnosis, Memory
// Management) and of the Tool category (Tool, Test Print), by their tab
// label; null for any other tab.
PageView* MakeMaintenancePage(UiServices& services, int tabLabelId, QWidget* parent);

}  // namespace rvq::ui
