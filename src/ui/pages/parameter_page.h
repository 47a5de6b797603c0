#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/params/group_ticks.h"
#include "ui/page_view.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace rvq {
struct ParamItem;
}

namespace rvq::ui {

struct UiServices;
class ParameterPage;

// What the seven parameter pages share: the ticked groups (a set writes the
// ticked groups of every page) and the pages themselves, so that a get or a
// set refreshes all of them.
struct ParameterPageSet {
    params::GroupTicks ticks;
    std::vector<ParameterPage*> pages;
    // Restore to Online, provided by the main window.
    std::function<void()> restoreOnline;
};

// One parameter page, built from the model's groups and items whose page
// index is this page's: a frame per group with its check box, a control
// per item chosen by the item's kind, and the Get / Set / Restore buttons.
class ParameterPage : public PageView {
public:
    ParameterPage(UiServices& services, ParameterPageSet& set, int pageIndex,
                  QWidget* parent = nullptr);

    void StoreValues() override;
    void RefreshFromModel() override;
    void ServiceModeChanged() override;
    void SetMultiLanMode(bool on) override;
    // Enable/Disable All (in Tab), Restore to Default, Restore Display to Default.
    bool HandleCommand(int command) override;

    // The control of the item with this control id, or null.
    QWidget* control(int ctrlId) const;
    QCheckBox* groupCheck(int checkBoxId) const;
    std::vector<int> controlIds() const;
    QPushButton* getButton() const { return get_; }
    QPushButton* setButton() const { return setButton_; }
    QPushButton* restoreButton() const { return restore_; }

    void GetParameters();
    void SetParameters();

private:
    struct Field {
        int ctrlId = 0;
        std::string group;
        QWidget* widget = nullptr;
    };

    void Build();
    QWidget* MakeControl(ParamItem& item, QWidget* parent);
    void ShowItem(const ParamItem& item, QWidget* widget) const;
    void ReadItem(ParamItem& item, QWidget* widget) const;
    bool IsAvailable(const ParamItem& item) const;
    void UpdateEnabling();
    // Get is off under Multi LAN, Set needs a ticked group on any page,
    // Restore to Online shows while the printer is in its setting mode.
    void UpdateButtons();
    // Ticks or unticks every group check box of this page.
    void TickAll(bool on);
    void RefreshAll();
    bool RunJob(int kind, std::vector<std::uint32_t> numbers);

    UiServices& services_;
    ParameterPageSet& set_;
    int pageIndex_;
    bool multiLan_ = false;
    std::vector<Field> fields_;
    std::map<int, QCheckBox*> checks_;
    std::map<int, std::string> groupNames_;  // by check box id
    QPushButton* get_ = nullptr;
    QPushButton* setButton_ = nullptr;
    QPushButton* restore_ = nullptr;
};

}  // namespace rvq::ui
