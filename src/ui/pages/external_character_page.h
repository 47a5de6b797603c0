#pragma once

#include <string>
#include <vector>

#include "core/builders/gaiji_file.h"
#include "ui/page_view.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace rvq::ui {

struct UiServices;
class FileSelect;
class NumberEdit;

// The Create External Character page: one monochrome bitmap, or a folder
// of G_*.BMP files, becomes an external character file; optionally a
// print file that shows the character. Nothing is sent from here.
class ExternalCharacterPage : public PageView {
    Q_OBJECT
public:
    explicit ExternalCharacterPage(UiServices& services, QWidget* parent = nullptr);

    void ResetPage(const PageResets& resets) override;
    bool HandleCommand(int command) override;
    void ResetExternalCharacterPage();

    QComboBox* methodCombo() const { return method_; }
    QComboBox* locationCombo() const { return location_; }
    FileSelect* pathField() const { return path_; }
    QListWidget* bitmapList() const { return list_; }
    QLabel* countLabel() const { return count_; }
    QLabel* sizeLabel() const { return size_; }
    QLabel* preview() const { return preview_; }
    QComboBox* typeCombo() const { return type_; }
    QLineEdit* codeEdit() const { return code_; }
    NumberEdit* leftEdit() const { return left_; }
    NumberEdit* topEdit() const { return top_; }
    NumberEdit* spacingEdit() const { return spacing_; }
    QCheckBox* confirmationCheck() const { return confirmation_; }
    QComboBox* magnificationCombo() const { return magnification_; }
    QComboBox* printMethodCombo() const { return printMethod_; }
    NumberEdit* labelWidthEdit() const { return labelWidth_; }
    NumberEdit* labelLengthEdit() const { return labelLength_; }
    QLineEdit* outputEdit() const { return output_; }
    QPushButton* outputBrowse() const { return outputBrowse_; }
    QPushButton* createButton() const { return create_; }
    QProgressBar* progressBar() const { return progress_; }
    const std::vector<GaijiRecord>& records() const { return records_; }

private:
    QWidget* BuildSourceBox();
    QWidget* BuildCharacterBox();
    QWidget* BuildConfirmationBox();
    QWidget* BuildOutputBox();
    void Connect();

    bool folderMode() const;
    GaijiLocation location() const;
    GaijiLimits limits() const;
    int currentType() const;
    int currentCode() const;
    void FillTypes();
    void ShowCode(int type, int code);
    void ApplyLimits();
    void ApplyTypeRules();
    void ClearList();
    bool TakePath(const std::string& path);
    bool TakeFile(const std::string& path);
    bool TakeFolder(const std::string& path);
    void ShowRecord(int row);
    void ShowPreview(const std::string& path);

    void OnMethodChanged();
    void OnLocationChanged();
    void OnTypeChanged();
    void OnCodeLeft();
    void UpdateEnabling();
    void OnCreate();

    UiServices& services_;
    std::vector<GaijiRecord> records_;
    std::vector<PrintMethod> printMethods_;
    QComboBox* method_ = nullptr;
    QComboBox* location_ = nullptr;
    FileSelect* path_ = nullptr;
    QListWidget* list_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* size_ = nullptr;
    QLabel* preview_ = nullptr;
    QComboBox* type_ = nullptr;
    QLineEdit* code_ = nullptr;
    NumberEdit* left_ = nullptr;
    NumberEdit* top_ = nullptr;
    NumberEdit* spacing_ = nullptr;
    QCheckBox* confirmation_ = nullptr;
    QComboBox* magnification_ = nullptr;
    QComboBox* printMethod_ = nullptr;
    NumberEdit* labelWidth_ = nullptr;
    NumberEdit* labelLength_ = nullptr;
    QLineEdit* output_ = nullptr;
    QPushButton* outputBrowse_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* create_ = nullptr;
};

}  // namespace rvq::ui
