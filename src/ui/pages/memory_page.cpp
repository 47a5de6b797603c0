#include "ui/pages/memory_page.h"

#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/navigation.h"
#include "core/app/string_ids.h"
#include "core/comm/ops/maintenance_inputs.h"
#include "core/comm/ops/maintenance_operations.h"
#include "core/pages/memory_page.h"
#include "ui/column_widths.h"
#include "ui/combo_util.h"
#include "ui/pages/info_list.h"
#include "ui/pages/self_diagnosis_page.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kMemoryLabel = 68401;
constexpr int kRefresh = 68202;
constexpr int kFixedLocationLabel = 68300;
constexpr int kFontLabel = 68301;
constexpr int kBitmapLabel = 68302;
constexpr int kBasicLabel = 68303;
constexpr int kPcSaveLabel = 68100;
constexpr int kAllocate = 68200;
constexpr int kLocationLabel = 68304;
constexpr int kAreaLabel = 68305;
constexpr int kFormat = 68201;
constexpr int kAllocationGroup = 68010;
constexpr int kFormatGroup = 68011;
constexpr int kLocations = 2;
constexpr int kAreas = 3;

}  // namespace

MemoryPage::MemoryPage(UiServices& services, QWidget* parent)
    : PageView(parent), services_(services) {
    const Strings& strings = services.context.strings;
    memory_ = MakeInfoList(strings, services.context.isJapanese, this);
    SetColumnWidths(memory_->header(), {160, 120});
    refresh_ = new QPushButton(Text(strings, kRefresh), this);
    connect(refresh_, &QPushButton::clicked, this, &MemoryPage::OnRefresh);

    auto* infoColumn = new QVBoxLayout;
    infoColumn->addWidget(new QLabel(Text(strings, kMemoryLabel), this));
    infoColumn->addWidget(memory_, 1);
    infoColumn->addWidget(refresh_, 0, Qt::AlignRight);

    auto* actionColumn = new QVBoxLayout;
    actionColumn->addWidget(BuildAllocation());
    actionColumn->addWidget(BuildFormat());
    actionColumn->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addLayout(infoColumn, 1);
    layout->addLayout(actionColumn);
    ResetMemoryPage();
    SetMultiLanMode(IsMultiLan(services.context.settings.interfaceName.kind()));
}

QWidget* MemoryPage::BuildAllocation() {
    const Strings& strings = services_.context.strings;
    auto* group = new QGroupBox(Text(strings, kAllocationGroup), this);
    auto* form = new QFormLayout(group);
    fixedLocation_ = new QComboBox(group);
    fixedLocation_->addItem(Text(strings, sid::kFirstMemoryLocation));
    fixedLocation_->setEnabled(false);
    font_ = new QComboBox(group);
    bitmap_ = new QComboBox(group);
    basic_ = new QComboBox(group);
    pcSave_ = new QLineEdit(group);
    pcSave_->setReadOnly(true);
    pcSave_->setAlignment(Qt::AlignRight);
    allocate_ = new QPushButton(Text(strings, kAllocate), group);
    form->addRow(Text(strings, kFixedLocationLabel), fixedLocation_);
    form->addRow(Text(strings, kFontLabel), font_);
    form->addRow(Text(strings, kBitmapLabel), bitmap_);
    form->addRow(Text(strings, kBasicLabel), basic_);
    form->addRow(Text(strings, kPcSaveLabel), pcSave_);
    form->addRow(QString(), allocate_);
    for (QComboBox* c : {font_, bitmap_, basic_})
        connect(c, &QComboBox::currentIndexChanged, this, &MemoryPage::UpdatePcSave);
    connect(allocate_, &QPushButton::clicked, this, &MemoryPage::OnAllocate);
    return group;
}

QWidget* MemoryPage::BuildFormat() {
    const Strings& strings = services_.context.strings;
    auto* group = new QGroupBox(Text(strings, kFormatGroup), this);
    auto* form = new QFormLayout(group);
    location_ = new QComboBox(group);
    area_ = new QComboBox(group);
    for (int i = 0; i < kLocations; ++i)
        location_->addItem(Text(strings, sid::kFirstMemoryLocation + i));
    for (int i = 0; i < kAreas; ++i) area_->addItem(Text(strings, sid::kFirstMemoryArea + i));
    format_ = new QPushButton(Text(strings, kFormat), group);
    form->addRow(Text(strings, kLocationLabel), location_);
    form->addRow(Text(strings, kAreaLabel), area_);
    form->addRow(QString(), format_);
    connect(format_, &QPushButton::clicked, this, &MemoryPage::OnFormat);
    return group;
}

void MemoryPage::FillAllocationCombos() {
    const PrinterModel* model = services_.document.model();
    const std::vector<std::string> choices =
        model ? AllocationChoices(*model) : std::vector<std::string>{};
    const QSignalBlocker fontQuiet(font_), bitmapQuiet(bitmap_), basicQuiet(basic_);
    FillCombo(font_, choices);
    FillCombo(bitmap_, choices);
    basic_->clear();
    basic_->addItem(Text(services_.context.strings, sid::kNoChange));
    for (const std::string& choice : choices) basic_->addItem(ToQt(choice));
    font_->setCurrentIndex(std::min(kDefaultFontBlocks, font_->count() - 1));
    bitmap_->setCurrentIndex(std::min(kDefaultBitmapBlocks, bitmap_->count() - 1));
    basic_->setCurrentIndex(std::min(kDefaultBasicPosition, basic_->count() - 1));
}

void MemoryPage::ResetMemoryPage() {
    FillAllocationCombos();
    location_->setCurrentIndex(0);
    area_->setCurrentIndex(0);
    UpdatePcSave();
    memory_->clear();
}

void MemoryPage::UpdatePcSave() {
    const PrinterModel* model = services_.document.model();
    if (model == nullptr) return;
    const auto basic = BasicBlocksAt(basic_->currentIndex());
    pcSave_->setText(
        ToQt(PcSaveText(*model, font_->currentIndex(), bitmap_->currentIndex(), basic)));
    allocate_->setEnabled(
        AllocationFits(*model, font_->currentIndex(), bitmap_->currentIndex(), basic));
}

void MemoryPage::ResetPage(const PageResets& resets) {
    if (resets.memory) ResetMemoryPage();
}

bool MemoryPage::HandleCommand(int command) {
    if (command != command::kRestoreDisplay) return false;
    ResetMemoryPage();
    return true;
}

void MemoryPage::SetMultiLanMode(bool on) {
    multiLan_ = on;
    refresh_->setEnabled(!on);
    memory_->setEnabled(!on);
    if (on) memory_->clear();
}

void MemoryPage::showEvent(QShowEvent* event) {
    PageView::showEvent(event);
    SetMultiLanMode(IsMultiLan(services_.context.settings.interfaceName.kind()));
}

void MemoryPage::ShowMemoryInformation() {
    if (!multiLan_) ShowRows(memory_, MemoryRows(services_.document));
}

void MemoryPage::OnRefresh() {
    if (multiLan_ || !services_.runJob) return;
    const auto inputs = PrinterInfoJobInputs(static_cast<unsigned>(InfoSubKind::Refresh));
    if (services_.runJob(this, inputs) != QDialog::Accepted) return;
    ShowMemoryInformation();
    if (auto* diagnosis = window()->findChild<SelfDiagnosisPage*>()) diagnosis->ShowInformation();
}

void MemoryPage::OnAllocate() {
    const PrinterModel* model = services_.document.model();
    const auto basic = BasicBlocksAt(basic_->currentIndex());
    const int font = font_->currentIndex();
    const int bitmap = bitmap_->currentIndex();
    if (model == nullptr || font < 0 || bitmap < 0 || !AllocationFits(*model, font, bitmap, basic))
        return;
    if (!services_.interaction.Confirm(sid::kConfirmAllocate,
                                       services_.context.strings.Get(sid::kConfirmAllocate)))
        return;
    const auto inputs =
        MemoryAllocateJobInputs(static_cast<unsigned>(font), static_cast<unsigned>(bitmap), basic);
    // The areas changed, so what the list shows no longer holds.
    if (services_.runJob && services_.runJob(this, inputs) == QDialog::Accepted) memory_->clear();
}

void MemoryPage::OnFormat() {
    if (!services_.interaction.Confirm(sid::kConfirmFormat,
                                       services_.context.strings.Get(sid::kConfirmFormat)))
        return;
    const auto inputs = MemoryFormatJobInputs(static_cast<unsigned>(location_->currentIndex()),
                                              static_cast<unsigned>(area_->currentIndex()));
    if (services_.runJob) std::ignore = services_.runJob(this, inputs);
    services_.context.settingModeState = SettingModeState::Online;
}

}  // namespace rvq::ui
