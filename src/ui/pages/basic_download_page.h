#pragma once

#include <array>

#include "core/pages/basic_download_page.h"
#include "ui/page_view.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace rvq {
class BasicEncoder;
class DownloadStore;
}  // namespace rvq

namespace rvq::ui {

struct UiServices;
class FileSelect;
class NumberEdit;

// The BASIC Download page: an optional memory allocation and up to three
// BASIC files, each encoded the moment it is chosen, sent by one job.
class BasicDownloadPage : public PageView {
    Q_OBJECT
public:
    BasicDownloadPage(UiServices& services, DownloadStore& store, QWidget* parent = nullptr);

    void ResetPage(const PageResets& resets) override;
    bool HandleCommand(int command) override;
    // Everything back to its first state, the files forgotten.
    void ResetBasicPage();

    // The three files in page order: main program, system mode program, data file.
    static constexpr int kFileCount = 3;
    QCheckBox* allocateCheck() const { return allocate_; }
    QComboBox* ttfCombo() const { return ttf_; }
    QComboBox* bitmapCombo() const { return bitmap_; }
    QComboBox* basicCombo() const { return basic_; }
    QLineEdit* pcSaveEdit() const { return pcSave_; }
    QCheckBox* fileCheck(int i) const { return files_[static_cast<std::size_t>(i)].check; }
    NumberEdit* startEdit(int i) const { return files_[static_cast<std::size_t>(i)].start; }
    FileSelect* fileField(int i) const { return files_[static_cast<std::size_t>(i)].field; }
    QPushButton* startButton() const { return startButton_; }

private:
    struct FileRow {
        QCheckBox* check = nullptr;
        QLabel* startLabel = nullptr;
        NumberEdit* start = nullptr;
        FileSelect* field = nullptr;
        BasicEncoder* encoder = nullptr;
        int modelStart = 0;
    };

    QWidget* BuildAllocationBox();
    QWidget* BuildFilesBox();
    void FillAllocationCombos();
    void ApplyModelLimits();
    bool Encode(int index, const std::string& path);
    void OnFileCheck(int index);
    void UpdateAllocation();
    void UpdateEnabling();
    BasicPageChoice Choice() const;
    void OnStart();

    UiServices& services_;
    DownloadStore& store_;
    QCheckBox* allocate_ = nullptr;
    QComboBox* ttf_ = nullptr;
    QComboBox* bitmap_ = nullptr;
    QComboBox* basic_ = nullptr;
    QLineEdit* pcSave_ = nullptr;
    std::array<QLabel*, 4> allocationLabels_{};
    std::array<FileRow, kFileCount> files_{};
    QPushButton* startButton_ = nullptr;
};

}  // namespace rvq::ui
