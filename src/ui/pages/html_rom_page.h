#pragma once

#include "core/builders/html_rom_build.h"
#include "ui/page_view.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace rvq::ui {

struct UiServices;

// Create HTML/XML ROM: packs the files of a web-page folder tree into a ROM
// file the firmware page can send. Nothing goes to the printer from here.
class HtmlRomPage : public PageView {
    Q_OBJECT
public:
    HtmlRomPage(UiServices& services, QWidget* parent = nullptr);

    // Back to the first ROM type with nothing chosen.
    void ResetHtmlRomPage();
    // What the folder browse does with the chosen folder: scan it.
    void ChooseSource(const std::string& folder);

    void ResetPage(const PageResets& resets) override;
    bool HandleCommand(int command) override;
    void ServiceModeChanged() override;

    HtmlRomType romType() const;
    QComboBox* typeCombo() const { return type_; }
    QLabel* loadAddressLabel() const { return loadAddress_; }
    QLineEdit* sourceEdit() const { return source_; }
    QPushButton* sourceButton() const { return sourceBrowse_; }
    QListWidget* sourceList() const { return files_; }
    QLabel* countLabel() const { return count_; }
    QLabel* sizeLabel() const { return size_; }
    QLineEdit* outputEdit() const { return output_; }
    QPushButton* outputButton() const { return outputBrowse_; }
    QCheckBox* headerBox() const { return withHeader_; }
    QPushButton* createButton() const { return create_; }
    QProgressBar* progressBar() const { return progress_; }
    QTreeWidget* romList() const { return rom_; }

private:
    void FillTypes();
    void OnTypeChosen();
    void OnBrowseSource();
    void OnBrowseOutput();
    void OnCreate();
    void Scan();
    void ClearScan();
    void UpdateCreate();

    UiServices& services_;
    HtmlRomScan scan_;
    QComboBox* type_;
    QLabel* loadAddress_;
    QLineEdit* source_;
    QPushButton* sourceBrowse_;
    QListWidget* files_;
    QLabel* count_;
    QLabel* size_;
    QLineEdit* output_;
    QPushButton* outputBrowse_;
    QCheckBox* withHeader_;
    QPushButton* create_;
    QProgressBar* progress_;
    QTreeWidget* rom_;
};

}  // namespace rvq::ui
