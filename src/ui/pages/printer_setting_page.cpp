#include "ui/pages/printer_setting_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/combo_match.h"
#include "core/app/document.h"
#include "core/app/field_rules.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "ui/combo_util.h"
#include "ui/form_labels.h"
#include "ui/line_edit_rules.h"
#include "ui/number_edit.h"
#include "ui/pages/multi_lan_box.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kPrinterGroup = 60116;
constexpr int kConnectionGroup = 60117;
constexpr int kModelLabel = 60100;
constexpr int kDestinationLabel = 60101;
constexpr int kInterfaceLabel = 60102;
constexpr int kPortLabel = 60103;
constexpr int kBaudLabel = 60104;
constexpr int kDataLabel = 60105;
constexpr int kParityLabel = 60106;
constexpr int kStopLabel = 60107;
constexpr int kHostLabel = 60108;
constexpr int kSerialLabel = 60114;
constexpr int kHostMaxLength = 32;
constexpr int kSerialMaxLength = 12;

QComboBox* DropList(QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo->setMinimumWidth(200);
    return combo;
}

}  // namespace

PrinterSettingPage::PrinterSettingPage(UiServices& services, QWidget* parent)
    : PageView(parent), services_(services) {
    const Strings& strings = services.context.strings;
    model_ = DropList(this);
    destination_ = DropList(this);
    interface_ = DropList(this);
    FillCombo(model_, services.document.modelNames());
    FillCombo(interface_, InterfaceNames());

    auto* printerGroup = new QGroupBox(Text(strings, kPrinterGroup), this);
    auto* printerForm = new QFormLayout(printerGroup);
    printerForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    printerForm->addRow(Text(strings, kModelLabel), model_);
    printerForm->addRow(Text(strings, kDestinationLabel), destination_);

    panels_ = new QStackedWidget(this);
    panels_->addWidget(new QWidget(panels_));
    panels_->addWidget(BuildSerialPanel());
    panels_->addWidget(BuildLanPanel());
    multiLan_ = new MultiLanBox(services, panels_);
    panels_->addWidget(multiLan_);
    panels_->addWidget(BuildUsbPanel());

    auto* connectionGroup = new QGroupBox(Text(strings, kConnectionGroup), this);
    auto* connectionLayout = new QVBoxLayout(connectionGroup);
    auto* interfaceForm = new QFormLayout;
    interfaceForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    interfaceForm->addRow(Text(strings, kInterfaceLabel), interface_);
    connectionLayout->addLayout(interfaceForm);
    connectionLayout->addWidget(panels_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(printerGroup);
    layout->addWidget(connectionGroup, 1);
    AlignFormLabels(this);

    connect(model_, &QComboBox::activated, this, &PrinterSettingPage::OnModelChosen);
    connect(destination_, &QComboBox::activated, this, &PrinterSettingPage::OnDestinationChosen);
    connect(interface_, &QComboBox::activated, this, &PrinterSettingPage::OnInterfaceChosen);
    for (QComboBox* c : {baud_, dataLength_, parity_, stopBit_}) {
        connect(c, &QComboBox::activated, this, [this] {
            ReadControls();
            UpdateHeader();
        });
    }
    for (NumberEdit* e : {comPort_, lanPort_}) {
        connect(e, &NumberEdit::valueCommitted, this, [this] {
            ReadControls();
            UpdateHeader();
        });
    }
    connect(lanHost_, &QLineEdit::editingFinished, this, [this] {
        ReadControls();
        UpdateHeader();
    });
    connect(useSerial_, &QCheckBox::clicked, this, &PrinterSettingPage::OnSerialCheck);
    connect(serial_, &QLineEdit::editingFinished, this, [this] {
        ReadControls();
        LocateUsb();
        UpdateHeader();
    });
    connect(multiLan_, &MultiLanBox::listChanged, this, [this] {
        ReadControls();
        UpdateHeader();
    });
}

QWidget* PrinterSettingPage::BuildSerialPanel() {
    const Strings& strings = services_.context.strings;
    auto* panel = new QWidget(this);
    comPort_ = new NumberEdit(1, 99, 1, 2, panel);
    baud_ = DropList(panel);
    dataLength_ = DropList(panel);
    parity_ = DropList(panel);
    stopBit_ = DropList(panel);
    auto* form = new QFormLayout(panel);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(Text(strings, kPortLabel), comPort_);
    form->addRow(Text(strings, kBaudLabel), baud_);
    form->addRow(Text(strings, kDataLabel), dataLength_);
    form->addRow(Text(strings, kParityLabel), parity_);
    form->addRow(Text(strings, kStopLabel), stopBit_);
    return panel;
}

QWidget* PrinterSettingPage::BuildLanPanel() {
    const Strings& strings = services_.context.strings;
    auto* panel = new QWidget(this);
    lanHost_ = new QLineEdit(panel);
    lanHost_->setMaxLength(kHostMaxLength);
    lanHost_->setMinimumWidth(240);
    lanHost_->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
    FilterWhileTyping(lanHost_, KeepAscii);
    TrimOnLeave(lanHost_);
    lanPort_ = new NumberEdit(0, 65535, 8000, 5, panel);
    auto* form = new QFormLayout(panel);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(Text(strings, kHostLabel), lanHost_);
    form->addRow(Text(strings, kPortLabel), lanPort_);
    return panel;
}

QWidget* PrinterSettingPage::BuildUsbPanel() {
    const Strings& strings = services_.context.strings;
    auto* panel = new QWidget(this);
    useSerial_ = new QCheckBox(Text(strings, kSerialLabel), panel);
    serial_ = new QLineEdit(panel);
    serial_->setMaxLength(kSerialMaxLength);
    serial_->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
    FilterWhileTyping(serial_, KeepLettersDigitsBlanks);
    // The check box stands where the other connections have their labels.
    auto* form = new QFormLayout(panel);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(useSerial_, serial_);
    return panel;
}

void PrinterSettingPage::LoadPrinterSettings() {
    const AppContext& context = services_.context;
    const Strings& strings = context.strings;
    values_ = LoadPrinterPage(context.settings, strings, context.isJapanese);

    FillCombo(baud_, StringRun(strings, 610, 615));
    FillCombo(dataLength_, StringRun(strings, 620, 621));
    FillCombo(parity_,
              context.isJapanese ? StringRun(strings, 645, 647) : StringRun(strings, 640, 642));
    FillCombo(stopBit_, StringRun(strings, 630, 631));
    FillCombo(model_, services_.document.modelNames());
    FillCombo(interface_, InterfaceNames());
    SelectStored(model_, values_.model);
    FillDestinations();
    SelectStored(destination_, values_.destination);
    SelectStored(interface_, values_.interfaceName.text());
    SelectStored(baud_, values_.baud);
    SelectStored(dataLength_, values_.dataLength);
    SelectStored(parity_, values_.parity);
    SelectStored(stopBit_, values_.stopBit);
    comPort_->setValue(values_.comPort);
    lanHost_->setText(ToQt(values_.lanHost));
    lanPort_->setValue(values_.lanPort);
    useSerial_->setChecked(values_.useSerial);
    serial_->setText(ToQt(values_.serial));
    multiLan_->SetPrinters(values_.multiLan);
    // The controls may show a stored text in a normalised form; the working
    // copy follows what they show, as it does after every change.
    ReadControls();
    LocateUsb();
    ShowInterfaceControls();
    UpdateHeader();
}

void PrinterSettingPage::StoreValues() {
    ReadControls();
    CommitPrinterSettings(values_, services_.context.settings, services_.context.strings,
                          services_.context.isJapanese);
}

void PrinterSettingPage::SetJobRunning(bool running) {
    for (QComboBox* c : {model_, destination_, interface_}) c->setEnabled(!running);
}

std::string PrinterSettingPage::headerText() const {
    return JoinHeaderText(BuildHeaderText(values_));
}

void PrinterSettingPage::FillDestinations() {
    const PrinterModel* model = services_.document.model();
    FillCombo(destination_, model ? model->destinations : std::vector<std::string>{});
}

void PrinterSettingPage::ReadControls() {
    values_.model = ComboText(model_);
    values_.destination = ComboText(destination_);
    values_.interfaceName = ComboText(interface_);
    values_.comPort = comPort_->value();
    values_.baud = ComboText(baud_);
    values_.dataLength = ComboText(dataLength_);
    values_.parity = ComboText(parity_);
    values_.stopBit = ComboText(stopBit_);
    values_.lanHost = Trim(FromQt(lanHost_->text()));
    values_.lanPort = lanPort_->value();
    values_.multiLan = multiLan_->printers();
    values_.useSerial = useSerial_->isChecked();
    values_.serial = FromQt(serial_->text());
}

void PrinterSettingPage::ShowInterfaceControls() {
    panels_->setCurrentIndex(static_cast<int>(PanelFor(values_.interfaceName)));
    serial_->setEnabled(values_.useSerial);
}

void PrinterSettingPage::UpdateHeader() {
    if (onHeaderChanged) onHeaderChanged(headerText());
}

void PrinterSettingPage::LocateUsb() {
    // The connection a running job uses must not change under it.
    if (services_.context.jobRunning) return;
    ToolSettings& settings = services_.context.settings;
    const auto path = LocateUsbPrinter(settings.usbProductIds, values_.useSerial, values_.serial,
                                       services_.enumerateUsb);
    // Without exactly one match the old path is dropped, so a job searches
    // again and says what it found instead of opening a printer that is no
    // longer the one asked for.
    values_.usbPath = path.value_or(std::string());
    settings.usbDevicePath = values_.usbPath;
}

void PrinterSettingPage::OnModelChosen() {
    const std::string chosen = ComboText(model_);
    if (chosen == values_.model) return;
    const Strings& strings = services_.context.strings;
    if (services_.context.jobRunning ||
        !services_.interaction.Confirm(sid::kMsgModelChange, strings.Get(sid::kMsgModelChange)) ||
        !services_.document.SelectModel(chosen)) {
        // The document still holds the previous model; so does the list.
        SelectStored(model_, values_.model);
        return;
    }
    const std::string wanted = DestinationForNewModel(values_.destination, chosen, strings);
    FillDestinations();
    const PrinterModel* model = services_.document.model();
    const std::string destination = PickDestination(model->destinations, wanted);
    SelectStored(destination_, destination);
    ReadControls();
    StoreValues();
    services_.document.ApplyDestination(destination);
    if (onResetPages) onResetPages(ResetsForModelChange());
    UpdateHeader();
}

void PrinterSettingPage::OnDestinationChosen() {
    const std::string chosen = ComboText(destination_);
    if (chosen == values_.destination) return;
    const Strings& strings = services_.context.strings;
    if (services_.context.jobRunning ||
        !services_.interaction.Confirm(sid::kMsgModelChange, strings.Get(sid::kMsgModelChange))) {
        SelectStored(destination_, values_.destination);
        return;
    }
    ReadControls();
    UpdateHeader();
    // A fresh copy of the model with the definition file's defaults.
    std::ignore = services_.document.SelectModel(values_.model);
    StoreValues();
    services_.document.ApplyDestination(values_.destination);
    if (onResetPages) onResetPages(ResetsForDestinationChange());
}

void PrinterSettingPage::OnInterfaceChosen() {
    const InterfaceName before = values_.interfaceName;
    if (services_.context.jobRunning) {
        SelectStored(interface_, before.text());
        return;
    }
    ReadControls();
    if (values_.comPort < 1 || values_.comPort > 99) {
        values_.comPort = 1;
        comPort_->setValue(1);
    }
    if (IsUsb(values_.interfaceName.kind())) LocateUsb();
    ShowInterfaceControls();
    UpdateHeader();
    if (onMultiLanMode) onMultiLanMode(IsMultiLan(values_.interfaceName.kind()));
    const PageResets resets = ResetsForInterfaceChange(before, values_.interfaceName);
    if (resets != PageResets{} && onResetPages) onResetPages(resets);
}

void PrinterSettingPage::OnSerialCheck() {
    ReadControls();
    ShowInterfaceControls();
    LocateUsb();
    UpdateHeader();
}

}  // namespace rvq::ui
