#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/params/group_ticks.h"
#include "core/params/page_columns.h"
#include "core/params/pending_changes.h"
#include "ui/page_view.h"

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QResizeEvent;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace rvq {
struct JobInputs;
struct ParamGroup;
struct ParamItem;
}  // namespace rvq

namespace rvq::ui {

struct UiServices;
class ParameterPage;
class PasswordEdit;

// What the seven parameter pages share: the ticked groups (a set writes the
// ticked groups of every page) and the pages themselves, so that a get or a
// set refreshes all of them.
struct ParameterPageSet {
    params::GroupTicks ticks;
    std::vector<ParameterPage*> pages;
    // Connection and control code changes a set made, applied after the
    // next restore to online.
    params::PendingChanges pending;
    // Restore to Online, provided by the main window.
    std::function<void()> restoreOnline;
    // An import switched the printer model (the settings hold the new one).
    std::function<void()> modelChanged;
};

// One parameter page, laid out by the parameter layout table over the
// model's items whose page index is this page's: a frame per group with its
// check box, a row per control with its caption and unit, and the Get / Set
// / Restore buttons.
class ParameterPage : public PageView {
public:
    ParameterPage(UiServices& services, ParameterPageSet& set, int pageIndex,
                  QWidget* parent = nullptr);

    void StoreValues() override;
    void ResetPage(const PageResets& resets) override;
    void RefreshFromModel() override;
    void ServiceModeChanged() override;
    void SetMultiLanMode(bool on) override;
    // Edit and View menu commands, Import and Export.
    bool HandleCommand(int command) override;
    // The group frames stand in as many columns as the width takes.
    int columnCount() const { return static_cast<int>(columnCounts_.size()); }

    // The control of the item with this control id, or null.
    QWidget* control(int ctrlId) const;
    QCheckBox* groupCheck(int checkBoxId) const;
    std::vector<int> controlIds() const;
    QPushButton* getButton() const { return get_; }
    QPushButton* setButton() const { return setButton_; }
    QPushButton* restoreButton() const { return restore_; }
    int pageIndex() const { return pageIndex_; }

    void GetParameters();
    void SetParameters();
    void ImportSettings();
    void ExportSettings();
    // Lays the page out again over the document's current model.
    void Rebuild();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Field {
        int ctrlId = 0;
        std::string group;
        QWidget* widget = nullptr;
    };

    void Build();
    QWidget* BuildBody();
    // The group's frame with its check box and rows; `captionWidth` gets
    // the width of its widest caption.
    QGroupBox* AddGroup(const ParamGroup& group, QWidget* body, int& captionWidth);
    // Sets the frames into as many columns as the page's width takes.
    void LayOutColumns();
    QWidget* MakeControl(ParamItem& item, bool password, QWidget* parent);
    QWidget* MakePassword(ParamItem& item, QWidget* parent);
    QWidget* WithSpin(QLineEdit* edit, const ParamItem& item, QWidget* parent);
    void ShowItem(ParamItem& item, QWidget* widget) const;
    void ReadItem(ParamItem& item, QWidget* widget) const;
    bool IsAvailable(const ParamItem& item) const;
    ParamItem* ItemOf(int ctrlId) const;
    void UpdateEnabling();
    // Get is off under Multi LAN, Set needs a ticked group on any page,
    // Restore to Online shows while the printer is in its setting mode.
    void UpdateButtons();
    // Ticks or unticks every group check box of this page.
    void TickAll(bool on);
    void RefreshAll();
    bool RunJob(std::shared_ptr<const JobInputs> inputs);
    // Hides these password fields again (state 0).
    void MaskPasswords(const std::set<int>& ctrlIds);

    // Page dependencies (parameter_dependencies.cpp).
    void ConnectDependencies();
    bool DependencyAllows(int ctrlId) const;
    void ApplyDependencies();
    void OnListChosen(int ctrlId, int index);
    void RefillAuthentication(int fromList, bool keepItems);
    void ApplyWepLimits();
    void ApplyClientIdInput();
    void ShowCountryLists();
    QComboBox* combo(int ctrlId) const;
    QLineEdit* edit(int ctrlId) const;
    int listIndex(int ctrlId) const;

    UiServices& services_;
    ParameterPageSet& set_;
    int pageIndex_;
    bool multiLan_ = false;
    bool filling_ = false;
    QScrollArea* scroll_ = nullptr;
    QHBoxLayout* columns_ = nullptr;
    std::vector<QGroupBox*> frames_;  // in the layout's order
    std::vector<params::FrameSize> frameSizes_;
    std::vector<std::size_t> columnCounts_;  // frames per column
    std::vector<Field> fields_;
    std::map<int, QCheckBox*> checks_;
    std::map<int, std::string> groupNames_;  // by check box id
    std::map<int, int> wepSizes_;            // the size entry each WEP key was cleared for
    QPushButton* get_ = nullptr;
    QPushButton* setButton_ = nullptr;
    QPushButton* restore_ = nullptr;
};

}  // namespace rvq::ui
