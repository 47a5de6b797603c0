#pragma once

#include <memory>

#include "ui/page_view.h"

class QComboBox;
class QPushButton;
class QTreeWidget;

namespace rvq {
struct JobInputs;
}

namespace rvq::ui {

struct UiServices;

// The Self Diagnosis page: the counters, firmware and parameter
// information the printer reported, and the maintenance actions, each a
// job behind the progress dialog.
class SelfDiagnosisPage : public PageView {
    Q_OBJECT
public:
    explicit SelfDiagnosisPage(UiServices& services, QWidget* parent = nullptr);

    void ResetPage(const PageResets& resets) override;
    bool HandleCommand(int command) override;
    void ServiceModeChanged() override;
    void SetMultiLanMode(bool on) override;

    // Empties the lists, forgets the printer's information and refills the
    // combos (a model change, a reset of all pages).
    void ResetMaintenancePage();
    // Shows the document's information in the three lists, "ALL" chosen.
    void ShowInformation();

    QTreeWidget* counterList() const { return counters_; }
    QTreeWidget* firmwareList() const { return firmware_; }
    QTreeWidget* parameterList() const { return parameters_; }
    QComboBox* sectionCombo() const { return section_; }
    QComboBox* counterCombo() const { return counter_; }
    QComboBox* destinationCombo() const { return destination_; }
    QPushButton* refreshButton() const { return refresh_; }
    QPushButton* headCheckButton() const { return headCheck_; }
    QPushButton* resetButton() const { return reset_; }
    QPushButton* saveInfoButton() const { return saveInfo_; }
    QPushButton* dataLogButton() const { return dataLog_; }
    QPushButton* clearButton() const { return clear_; }
    QPushButton* initializeButton() const { return initialize_; }
    QPushButton* factoryButton() const { return factory_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildLists();
    QWidget* BuildActions();
    void FillCombos();
    void ShowParameterRows();
    void ShowCountersAndParameters(bool counters);
    void ApplyControlRules();
    bool Run(std::shared_ptr<JobInputs> inputs);
    bool Confirmed(int messageId);
    void OnRefresh();
    void OnHeadCheckOrReset(int messageId, bool reset);
    void OnSaveFile(bool dataLog);
    void OnClear();
    void OnInitialize();
    void OnFactorySetting();
    // The memory management page shows the same information.
    void TellMemoryPage();

    UiServices& services_;
    bool multiLan_ = false;
    QTreeWidget* counters_ = nullptr;
    QTreeWidget* firmware_ = nullptr;
    QTreeWidget* parameters_ = nullptr;
    QComboBox* section_ = nullptr;
    QComboBox* counter_ = nullptr;
    QComboBox* destination_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QPushButton* headCheck_ = nullptr;
    QPushButton* reset_ = nullptr;
    QPushButton* saveInfo_ = nullptr;
    QPushButton* dataLog_ = nullptr;
    QPushButton* clear_ = nullptr;
    QPushButton* initialize_ = nullptr;
    QPushButton* factory_ = nullptr;
};

}  // namespace rvq::ui
