#include "ui/pages/self_diagnosis_page.h"

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/maintenance_lists.h"
#include "core/app/navigation.h"
#include "core/app/string_ids.h"
#include "core/comm/ops/maintenance_inputs.h"
#include "core/comm/ops/maintenance_operations.h"
#include "core/pages/maintenance_page.h"
#include "ui/combo_util.h"
#include "ui/file_dialogs.h"
#include "ui/pages/info_list.h"
#include "ui/pages/memory_page.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kCounterLabel = 66900;
constexpr int kFirmwareLabel = 66901;
constexpr int kParameterLabel = 66902;
constexpr int kRefresh = 66700;
constexpr int kHeadCheck = 66701;
constexpr int kPrinterReset = 66704;
constexpr int kSaveInfo = 66705;
constexpr int kDataLogging = 66706;
constexpr int kClear = 66702;
constexpr int kDestinationLabel = 66802;
constexpr int kInitialize = 66703;
constexpr int kFactorySetting = 66709;
constexpr int kCounterGroup = 66010;
constexpr int kInitializeGroup = 66011;

QWidget* Labelled(const QString& label, QWidget* body, QWidget* extra, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(label, box));
    if (extra != nullptr) layout->addWidget(extra);
    layout->addWidget(body, 1);
    return box;
}

}  // namespace

SelfDiagnosisPage::SelfDiagnosisPage(UiServices& services, QWidget* parent)
    : PageView(parent), services_(services) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(BuildLists(), 1);
    layout->addWidget(BuildActions());
    FillCombos();
    // Nothing to choose from until the printer's information was read.
    section_->setEnabled(false);
    multiLan_ = IsMultiLan(services.context.settings.interfaceName.kind());
    ApplyControlRules();
}

QWidget* SelfDiagnosisPage::BuildLists() {
    const Strings& strings = services_.context.strings;
    const bool japanese = services_.context.isJapanese;
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    counters_ = MakeInfoList(strings, japanese, box);
    firmware_ = MakeInfoList(strings, japanese, box);
    parameters_ = MakeInfoList(strings, japanese, box);
    section_ = new QComboBox(box);
    for (std::string_view choice : kParameterListChoices)
        section_->addItem(ToQt(std::string(choice)));
    connect(section_, &QComboBox::activated, this, [this] { ShowParameterRows(); });
    grid->addWidget(Labelled(Text(strings, kCounterLabel), counters_, nullptr, box), 0, 0);
    grid->addWidget(Labelled(Text(strings, kFirmwareLabel), firmware_, nullptr, box), 1, 0);
    grid->addWidget(Labelled(Text(strings, kParameterLabel), parameters_, section_, box), 0, 1, 2,
                    1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget* SelfDiagnosisPage::BuildActions() {
    const Strings& strings = services_.context.strings;
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    const auto button = [&](int textId, void (SelfDiagnosisPage::*slot)()) {
        auto* b = new QPushButton(Text(strings, textId), box);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    refresh_ = button(kRefresh, &SelfDiagnosisPage::OnRefresh);
    headCheck_ = new QPushButton(Text(strings, kHeadCheck), box);
    connect(headCheck_, &QPushButton::clicked, this,
            [this] { OnHeadCheckOrReset(sid::kConfirmHeadCheck, false); });
    reset_ = new QPushButton(Text(strings, kPrinterReset), box);
    connect(reset_, &QPushButton::clicked, this,
            [this] { OnHeadCheckOrReset(sid::kConfirmReset, true); });
    saveInfo_ = new QPushButton(Text(strings, kSaveInfo), box);
    connect(saveInfo_, &QPushButton::clicked, this, [this] { OnSaveFile(false); });
    dataLog_ = new QPushButton(Text(strings, kDataLogging), box);
    connect(dataLog_, &QPushButton::clicked, this, [this] { OnSaveFile(true); });
    for (QPushButton* b : {refresh_, headCheck_, reset_, saveInfo_, dataLog_}) column->addWidget(b);

    auto* counterGroup = new QGroupBox(Text(strings, kCounterGroup), box);
    auto* counterLayout = new QVBoxLayout(counterGroup);
    counter_ = new QComboBox(counterGroup);
    clear_ = button(kClear, &SelfDiagnosisPage::OnClear);
    connect(counter_, &QComboBox::currentIndexChanged, this, [this] { ApplyControlRules(); });
    counterLayout->addWidget(counter_);
    counterLayout->addWidget(clear_, 0, Qt::AlignRight);
    column->addWidget(counterGroup);

    auto* initGroup = new QGroupBox(Text(strings, kInitializeGroup), box);
    auto* initLayout = new QVBoxLayout(initGroup);
    destination_ = new QComboBox(initGroup);
    initialize_ = button(kInitialize, &SelfDiagnosisPage::OnInitialize);
    connect(destination_, &QComboBox::currentIndexChanged, this, [this] { ApplyControlRules(); });
    auto* destinationRow = new QHBoxLayout;
    destinationRow->addWidget(new QLabel(Text(strings, kDestinationLabel), initGroup));
    destinationRow->addWidget(destination_, 1);
    initLayout->addLayout(destinationRow);
    initLayout->addWidget(initialize_, 0, Qt::AlignRight);
    column->addWidget(initGroup);

    factory_ = button(kFactorySetting, &SelfDiagnosisPage::OnFactorySetting);
    column->addWidget(factory_);
    column->addStretch(1);
    // The lists take the room; the buttons keep the width their texts need.
    box->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    return box;
}

void SelfDiagnosisPage::FillCombos() {
    const Strings& strings = services_.context.strings;
    counter_->clear();
    for (int i = 0; i < kCounterChoiceCount; ++i)
        counter_->addItem(Text(strings, sid::kFirstCounterChoice + i));
    destination_->clear();
    const PrinterModel* model = services_.document.model();
    if (model != nullptr) {
        FillCombo(destination_, model->destinations);
        const auto& codes = model->destinations;
        const auto stored =
            std::find(codes.begin(), codes.end(), services_.context.settings.destination);
        destination_->setCurrentIndex(
            stored != codes.end() ? static_cast<int>(stored - codes.begin()) : 0);
    }
    section_->setCurrentIndex(0);
}

void SelfDiagnosisPage::ResetMaintenancePage() {
    FillCombos();
    services_.document.ClearPrinterInfo();
    for (QTreeWidget* list : {counters_, firmware_, parameters_}) list->clear();
    section_->setEnabled(false);
    ApplyControlRules();
}

void SelfDiagnosisPage::ResetPage(const PageResets& resets) {
    if (resets.maintenance) ResetMaintenancePage();
}

bool SelfDiagnosisPage::HandleCommand(int command) {
    if (command != command::kRestoreDisplay) return false;
    ResetMaintenancePage();
    return true;
}

void SelfDiagnosisPage::ServiceModeChanged() { ApplyControlRules(); }

void SelfDiagnosisPage::SetMultiLanMode(bool on) {
    multiLan_ = on;
    ApplyControlRules();
}

void SelfDiagnosisPage::showEvent(QShowEvent* event) {
    PageView::showEvent(event);
    SetMultiLanMode(IsMultiLan(services_.context.settings.interfaceName.kind()));
}

void SelfDiagnosisPage::ApplyControlRules() {
    const MaintenanceControls rules =
        MaintenanceControlStates(multiLan_, services_.context.serviceMode);
    for (QWidget* w :
         std::initializer_list<QWidget*>{refresh_, saveInfo_, dataLog_, counters_, firmware_,
                                         parameters_, counter_, destination_})
        w->setEnabled(rules.perPrinter);
    clear_->setEnabled(rules.perPrinter &&
                       CounterSelectionAt(counter_->currentIndex()).has_value());
    initialize_->setEnabled(
        rules.perPrinter &&
        DestinationClearIndex(services_.context.strings, FromQt(destination_->currentText()))
            .has_value());
    factory_->setVisible(rules.factoryShown);
    factory_->setEnabled(rules.factoryEnabled);
    if (!rules.perPrinter) {
        // Several printers have no one information to show.
        services_.document.ClearPrinterInfo();
        for (QTreeWidget* list : {counters_, firmware_, parameters_}) list->clear();
        section_->setEnabled(false);
    }
}

void SelfDiagnosisPage::ShowParameterRows() {
    const int choice = std::max(section_->currentIndex(), 0);
    ShowRows(parameters_, ParameterRows(services_.document, static_cast<std::size_t>(choice)));
}

void SelfDiagnosisPage::ShowCountersAndParameters(bool counters) {
    if (counters) ShowRows(counters_, CounterRows(services_.document));
    section_->setEnabled(true);
    section_->setCurrentIndex(0);
    ShowParameterRows();
}

void SelfDiagnosisPage::ShowInformation() {
    ShowRows(firmware_, FirmwareRows(services_.document));
    ShowCountersAndParameters(true);
}

void SelfDiagnosisPage::TellMemoryPage() {
    if (MemoryPage* memory = window()->findChild<MemoryPage*>()) memory->ShowMemoryInformation();
}

bool SelfDiagnosisPage::Run(std::shared_ptr<JobInputs> inputs) {
    return services_.runJob && services_.runJob(this, std::move(inputs)) == QDialog::Accepted;
}

bool SelfDiagnosisPage::Confirmed(int messageId) {
    return services_.interaction.Confirm(messageId, services_.context.strings.Get(messageId));
}

void SelfDiagnosisPage::OnRefresh() {
    if (!Run(PrinterInfoJobInputs(static_cast<unsigned>(InfoSubKind::Refresh)))) return;
    ShowInformation();
    TellMemoryPage();
}

void SelfDiagnosisPage::OnHeadCheckOrReset(int messageId, bool reset) {
    if (!Confirmed(messageId)) return;
    std::ignore = Run(PlainJobInputs(reset ? JobKind::PrinterReset : JobKind::HeadCheck));
    services_.context.settingModeState = SettingModeState::Online;
}

void SelfDiagnosisPage::OnSaveFile(bool dataLog) {
    const auto path =
        dataLog ? services_.files.SaveFile(this, 0, sid::kLogFilter, sid::kLogExtension)
                : services_.files.SaveFile(this, 0, sid::kInfoFilter, sid::kInfoExtension);
    if (!path || path->empty()) return;
    const InfoSubKind kind = dataLog ? InfoSubKind::DataLogging : InfoSubKind::SavePrinterInfo;
    std::ignore = Run(PrinterInfoJobInputs(static_cast<unsigned>(kind), *path));
}

void SelfDiagnosisPage::OnClear() {
    const auto selection = CounterSelectionAt(counter_->currentIndex());
    if (!selection || !Confirmed(sid::kConfirmCounterClear)) return;
    if (Run(CounterClearJobInputs(*selection))) ShowCountersAndParameters(true);
}

void SelfDiagnosisPage::OnInitialize() {
    const auto index =
        DestinationClearIndex(services_.context.strings, FromQt(destination_->currentText()));
    if (!index || !Confirmed(sid::kConfirmParameterClear)) return;
    if (Run(ParameterClearJobInputs(*index))) ShowCountersAndParameters(false);
}

void SelfDiagnosisPage::OnFactorySetting() {
    if (services_.context.serviceMode != ServiceMode::Full ||
        !Confirmed(sid::kConfirmFactoryDefault))
        return;
    if (!Run(PlainJobInputs(JobKind::FactoryDefault))) return;
    ShowInformation();
    TellMemoryPage();
}

}  // namespace rvq::ui
