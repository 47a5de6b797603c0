#pragma once

class QWidget;

namespace rvq::ui {

struct UiServices;
class PageView;

// The download group's ROM pages: the Firmware Download tab (700) and the
// Create HTML/XML ROM tab (702); nothing for any other tab.
PageView* MakeRomPage(UiServices& services, int tabLabelId, QWidget* parent);

}  // namespace rvq::ui
