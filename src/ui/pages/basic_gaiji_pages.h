#pragma once

class QWidget;

namespace rvq {
class DownloadStore;
}

namespace rvq::ui {

class PageView;
struct UiServices;

// The BASIC Download page (tab 701) and the Create External Character
// page (tab 713); nothing for any other tab.
PageView* MakeBasicOrGaijiPage(UiServices& services, DownloadStore& store, int tabLabelId,
                               QWidget* parent);

}  // namespace rvq::ui
