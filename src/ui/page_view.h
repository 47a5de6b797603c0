#pragma once

#include <QWidget>

#include "core/pages/printer_page.h"

namespace rvq::ui {

// One page of the page area. The main window talks to every page through
// these calls; a page reacts to those that concern it.
class PageView : public QWidget {
public:
    using QWidget::QWidget;

    // Called before another page is shown and when the program closes.
    virtual void StoreValues() {}
    // A change on the printer setting page starts this page afresh.
    virtual void ResetPage(const PageResets& /*resets*/) {}
    // After a restore to online: show the model's values again.
    virtual void RefreshFromModel() {}
    // A menu command of the frame; false when the page has no use for it.
    virtual bool HandleCommand(int /*command*/) { return false; }
    virtual void ServiceModeChanged() {}
    virtual void SetMultiLanMode(bool /*on*/) {}
};

}  // namespace rvq::ui
