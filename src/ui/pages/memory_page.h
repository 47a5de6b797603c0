#pragma once

#include "ui/page_view.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace rvq::ui {

struct UiServices;

// The Memory Management page: the printer's memory information, the
// division of its flash into areas and the format of an area.
class MemoryPage : public PageView {
    Q_OBJECT
public:
    explicit MemoryPage(UiServices& services, QWidget* parent = nullptr);

    void ResetPage(const PageResets& resets) override;
    bool HandleCommand(int command) override;
    void SetMultiLanMode(bool on) override;

    // Default allocation and format choices, PC save recomputed, the
    // memory information list emptied.
    void ResetMemoryPage();
    // Shows the memory information the document holds.
    void ShowMemoryInformation();

    QTreeWidget* memoryList() const { return memory_; }
    QPushButton* refreshButton() const { return refresh_; }
    QComboBox* fontCombo() const { return font_; }
    QComboBox* bitmapCombo() const { return bitmap_; }
    QComboBox* basicCombo() const { return basic_; }
    QLineEdit* pcSaveField() const { return pcSave_; }
    QPushButton* allocateButton() const { return allocate_; }
    QComboBox* locationCombo() const { return location_; }
    QComboBox* areaCombo() const { return area_; }
    QPushButton* formatButton() const { return format_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildAllocation();
    QWidget* BuildFormat();
    void FillAllocationCombos();
    void UpdatePcSave();
    void OnRefresh();
    void OnAllocate();
    void OnFormat();

    UiServices& services_;
    bool multiLan_ = false;
    QTreeWidget* memory_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QComboBox* fixedLocation_ = nullptr;
    QComboBox* font_ = nullptr;
    QComboBox* bitmap_ = nullptr;
    QComboBox* basic_ = nullptr;
    QLineEdit* pcSave_ = nullptr;
    QPushButton* allocate_ = nullptr;
    QComboBox* location_ = nullptr;
    QComboBox* area_ = nullptr;
    QPushButton* format_ = nullptr;
};

}  // namespace rvq::ui
