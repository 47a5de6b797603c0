#include "ui/pages/test_print_page.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/navigation.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/comm/ops/maintenance_inputs.h"
#include "ui/number_edit.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kFirstPattern = 63700;
constexpr int kPatterns = 4;
constexpr int kCountLabel = 63600;
constexpr int kSpeedLabel = 63800;
constexpr int kSensorLabel = 63801;
constexpr int kIssueModeLabel = 63802;
constexpr int kMethodLabel = 63803;
constexpr int kLengthLabel = 63601;
constexpr int kGapLabel = 63604;
constexpr int kWidthLabel = 63603;
constexpr int kToneLabel = 63602;
constexpr int kPrintButton = 63706;
constexpr int kPatternGroup = 63720;
constexpr int kConditionsGroup = 63721;
constexpr int kMillimetres = 63722;
constexpr int kSpeedItem = 63723;
constexpr int kSensors = 5;
constexpr int kIssueModes = 3;

constexpr int kMinLength = 8;
constexpr int kMinWidth = 10;

// A field followed by its unit.
QWidget* WithUnit(QWidget* field, const QString& unit, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(field);
    row->addWidget(new QLabel(unit, box));
    row->addStretch(1);
    return box;
}

}  // namespace

TestPrintPage::TestPrintPage(UiServices& services, QWidget* parent)
    : PageView(parent), services_(services) {
    print_ = new QPushButton(Text(services.context.strings, kPrintButton), this);
    print_->setMinimumWidth(140);
    connect(print_, &QPushButton::clicked, this, &TestPrintPage::PrintTestPattern);
    auto* top = new QHBoxLayout;
    top->addWidget(BuildPatterns(), 0, Qt::AlignTop);
    top->addWidget(BuildConditions(), 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addLayout(top);
    layout->addWidget(print_, 0, Qt::AlignRight);
    layout->addStretch(1);
    ResetTestPrintPage();
}

QWidget* TestPrintPage::BuildPatterns() {
    const Strings& strings = services_.context.strings;
    auto* group = new QGroupBox(Text(strings, kPatternGroup), this);
    auto* column = new QVBoxLayout(group);
    pattern_ = new QButtonGroup(group);
    for (int i = 0; i < kPatterns; ++i) {
        auto* radio = new QRadioButton(Text(strings, kFirstPattern + i), group);
        pattern_->addButton(radio, i);
        column->addWidget(radio);
    }
    column->addStretch(1);
    return group;
}

QWidget* TestPrintPage::BuildConditions() {
    const Strings& strings = services_.context.strings;
    auto* group = new QGroupBox(Text(strings, kConditionsGroup), this);
    auto* form = new QFormLayout(group);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    count_ = new NumberEdit(1, 9999, 1, 4, group);
    speed_ = new QComboBox(group);
    sensor_ = new QComboBox(group);
    issueMode_ = new QComboBox(group);
    method_ = new QComboBox(group);
    for (int i = 0; i < kSensors; ++i) sensor_->addItem(Text(strings, sid::kFirstSensor + i));
    for (int i = 0; i < kIssueModes; ++i)
        issueMode_->addItem(Text(strings, sid::kFirstIssueMode + i));
    // The limits of lengths and widths follow the model (ResetTestPrintPage).
    length_ = new NumberEdit(kMinLength, kMinLength, kMinLength, 4, group);
    gap_ = new NumberEdit(0, 20, 2, 2, group);
    width_ = new NumberEdit(kMinWidth, kMinWidth, kMinWidth, 3, group);
    tone_ = new QSpinBox(group);
    tone_->setRange(-20, 10);
    tone_->setAlignment(Qt::AlignRight);
    tone_->setMinimumWidth(count_->sizeHint().width());
    const QString mm = Text(strings, kMillimetres);
    form->addRow(Text(strings, kCountLabel), count_);
    form->addRow(Text(strings, kSpeedLabel), speed_);
    form->addRow(Text(strings, kSensorLabel), sensor_);
    form->addRow(Text(strings, kIssueModeLabel), issueMode_);
    form->addRow(Text(strings, kMethodLabel), method_);
    form->addRow(Text(strings, kLengthLabel), WithUnit(length_, mm, group));
    form->addRow(Text(strings, kGapLabel), WithUnit(gap_, mm, group));
    form->addRow(Text(strings, kWidthLabel), WithUnit(width_, mm, group));
    form->addRow(Text(strings, kToneLabel), tone_);
    return group;
}

void TestPrintPage::ResetTestPrintPage() {
    const Strings& strings = services_.context.strings;
    const PrinterModel* model = services_.document.model();
    if (model == nullptr) return;
    const TestPrintOptions defaults = DefaultTestPrintOptions(*model);
    pattern_->button(0)->setChecked(true);
    count_->setValue(defaults.issueCount);
    speed_->clear();
    for (int speed : TestPrintSpeeds(model->name))
        speed_->addItem(ToQt(FormatRuntime(strings.Get(kSpeedItem), speed)), speed);
    speed_->setCurrentIndex(speed_->findData(defaults.speed));
    sensor_->setCurrentIndex(defaults.sensor);
    issueMode_->setCurrentIndex(static_cast<int>(defaults.issueMode));
    method_->clear();
    for (PrintMethod method : PrintMethodsFor(model->name))
        method_->addItem(Text(strings, static_cast<int>(method)), static_cast<int>(method));
    method_->setCurrentIndex(0);
    const int longest = model->maxLength / 10;
    const int widest = model->maxWidth / 10;
    length_->SetRange(kMinLength, longest, longest);
    width_->SetRange(kMinWidth, widest, widest);
    length_->setValue(defaults.labelLengthMm);
    gap_->setValue(defaults.labelGapMm);
    width_->setValue(defaults.labelWidthMm);
    tone_->setValue(defaults.tone);
}

void TestPrintPage::ResetPage(const PageResets& resets) {
    if (resets.testPrint) ResetTestPrintPage();
}

bool TestPrintPage::HandleCommand(int command) {
    if (command != command::kRestoreDisplay) return false;
    ResetTestPrintPage();
    return true;
}

TestPrintOptions TestPrintPage::options() const {
    TestPrintOptions o;
    o.pattern = static_cast<TestPattern>(std::max(pattern_->checkedId(), 0));
    o.issueCount = count_->value();
    o.speed = speed_->currentData().toInt();
    o.sensor = sensor_->currentIndex();
    o.issueMode = static_cast<IssueMode>(issueMode_->currentIndex());
    o.method = static_cast<PrintMethod>(method_->currentData().toInt());
    o.labelLengthMm = length_->value();
    o.labelGapMm = gap_->value();
    o.labelWidthMm = width_->value();
    o.tone = tone_->value();
    return o;
}

void TestPrintPage::PrintTestPattern() {
    const PrinterModel* model = services_.document.model();
    if (model == nullptr) return;
    const Strings& strings = services_.context.strings;
    const TestPrintBuild build =
        BuildTestPrintData(options(), *model, services_.context.settings, strings);
    if (!build.result) {
        services_.interaction.Error(build.result.messageId, build.result.message);
        return;
    }
    if (services_.runJob) std::ignore = services_.runJob(this, TestPrintJobInputs(build.data));
}

}  // namespace rvq::ui
