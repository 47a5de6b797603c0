#pragma once

#include "core/builders/test_print.h"
#include "ui/page_view.h"

class QButtonGroup;
class QComboBox;
class QPushButton;
class QSpinBox;

namespace rvq::ui {

struct UiServices;
class NumberEdit;

// The Test Print page: a test pattern printed with the conditions chosen
// on the page; the lists and limits follow the printer model.
class TestPrintPage : public PageView {
public:
    explicit TestPrintPage(UiServices& services, QWidget* parent = nullptr);

    void ResetPage(const PageResets& resets) override;
    bool HandleCommand(int command) override;

    // Every default, the model's lists refilled and its limits applied.
    void ResetTestPrintPage();
    // The conditions the controls show.
    TestPrintOptions options() const;
    void PrintTestPattern();

    QButtonGroup* patternGroup() const { return pattern_; }
    NumberEdit* countEdit() const { return count_; }
    QComboBox* speedCombo() const { return speed_; }
    QComboBox* sensorCombo() const { return sensor_; }
    QComboBox* issueModeCombo() const { return issueMode_; }
    QComboBox* methodCombo() const { return method_; }
    NumberEdit* lengthEdit() const { return length_; }
    NumberEdit* gapEdit() const { return gap_; }
    NumberEdit* widthEdit() const { return width_; }
    QSpinBox* toneEdit() const { return tone_; }
    QPushButton* printButton() const { return print_; }

private:
    QWidget* BuildPatterns();
    QWidget* BuildConditions();

    UiServices& services_;
    QButtonGroup* pattern_ = nullptr;
    NumberEdit* count_ = nullptr;
    QComboBox* speed_ = nullptr;
    QComboBox* sensor_ = nullptr;
    QComboBox* issueMode_ = nullptr;
    QComboBox* method_ = nullptr;
    NumberEdit* length_ = nullptr;
    NumberEdit* gap_ = nullptr;
    NumberEdit* width_ = nullptr;
    QSpinBox* tone_ = nullptr;
    QPushButton* print_ = nullptr;
};

}  // namespace rvq::ui
