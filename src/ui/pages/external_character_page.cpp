#include "ui/pages/external_character_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/navigation.h"
#include "core/app/printer_model.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/pages/external_character_page.h"
#include "core/platform/file_io.h"
#include "ui/combo_util.h"
#include "ui/file_dialogs.h"
#include "ui/number_edit.h"
#include "ui/pages/bitmap_preview.h"
#include "ui/pages/file_select.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kBrowseText = 67020;
constexpr int kMethodLabel = 67130;
constexpr int kLocationLabel = 67131;
constexpr int kPathLabel = 67132;
constexpr int kListLabel = 67133;
constexpr int kSizeLabel = 67134;
constexpr int kTypeLabel = 67135;
constexpr int kCodeLabel = 67136;
constexpr int kLeftLabel = 67137;
constexpr int kTopLabel = 67138;
constexpr int kSpacingLabel = 67139;
constexpr int kConfirmationText = 67140;
constexpr int kMagnificationLabel = 67141;
constexpr int kPrintMethodLabel = 67142;
constexpr int kLabelWidthLabel = 67143;
constexpr int kLabelLengthLabel = 67144;
constexpr int kOutputLabel = 67145;
constexpr int kCreateText = 67146;
constexpr int kBitmapTitle = 67147;
constexpr int kCharacterTitle = 67148;
constexpr int kOutputTitle = 67149;

constexpr int kDefaultMagnification = 1;
constexpr int kDefaultLabelLengthMm = 74;
constexpr int kMinLabelWidthMm = 10;
constexpr int kMinLabelLengthMm = 8;
constexpr QSize kPreviewBox{160, 160};

const PrinterModel& ModelOf(const Document& document) {
    static const PrinterModel none;
    const PrinterModel* model = document.model();
    return model != nullptr ? *model : none;
}

QString FileName(const std::string& path) { return QFileInfo(ToQt(path)).fileName(); }

}  // namespace

ExternalCharacterPage::ExternalCharacterPage(UiServices& services, QWidget* parent)
    : PageView(parent), services_(services) {
    const Strings& strings = services.context.strings;
    auto* top = new QHBoxLayout;
    top->addWidget(BuildSourceBox(), 3);
    top->addWidget(BuildCharacterBox(), 2);
    create_ = new QPushButton(Text(strings, kCreateText), this);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(progress_, 1);
    bottom->addWidget(create_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addLayout(top);
    layout->addWidget(BuildConfirmationBox());
    layout->addWidget(BuildOutputBox());
    layout->addLayout(bottom);
    layout->addStretch(1);
    Connect();
    ResetExternalCharacterPage();
}

QWidget* ExternalCharacterPage::BuildSourceBox() {
    const Strings& strings = services_.context.strings;
    auto* box = new QGroupBox(Text(strings, kBitmapTitle), this);
    method_ = new QComboBox(box);
    location_ = new QComboBox(box);
    FillCombo(method_, {strings.Get(sid::kFileMethod), strings.Get(sid::kFolderMethod)});
    FillCombo(location_, {strings.Get(sid::kFlashLocation), strings.Get(sid::kUsbLocation)});
    path_ = new FileSelect(Text(strings, kBrowseText), box);
    path_->choose = [this]() {
        return folderMode() ? services_.files.OpenFolder(this, 0)
                            : services_.files.OpenFile(this, 0, sid::kBitmapFilter);
    };
    path_->accept = [this](const std::string& path) { return TakePath(path); };
    list_ = new QListWidget(box);
    list_->setMinimumHeight(120);
    count_ = new QLabel(box);
    size_ = new QLabel(box);
    preview_ = new QLabel(box);
    preview_->setFixedSize(kPreviewBox + QSize(4, 4));
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setFrameShape(QFrame::StyledPanel);

    auto* form = new QFormLayout;
    form->addRow(Text(strings, kMethodLabel), method_);
    form->addRow(Text(strings, kLocationLabel), location_);
    form->addRow(Text(strings, kPathLabel), path_);
    auto* listHeader = new QHBoxLayout;
    listHeader->addWidget(new QLabel(Text(strings, kListLabel), box));
    listHeader->addWidget(count_);
    listHeader->addStretch(1);
    listHeader->addWidget(new QLabel(Text(strings, kSizeLabel), box));
    listHeader->addWidget(size_);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(list_, 1);
    listRow->addWidget(preview_, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(form);
    layout->addLayout(listHeader);
    layout->addLayout(listRow);
    return box;
}

QWidget* ExternalCharacterPage::BuildCharacterBox() {
    const Strings& strings = services_.context.strings;
    auto* box = new QGroupBox(Text(strings, kCharacterTitle), this);
    type_ = new QComboBox(box);
    code_ = new QLineEdit(box);
    code_->setMaximumWidth(120);
    left_ = new NumberEdit(0, 0, 0, 3, box);
    top_ = new NumberEdit(0, 0, 0, 3, box);
    spacing_ = new NumberEdit(0, 0, 0, 3, box);
    auto* form = new QFormLayout(box);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(Text(strings, kTypeLabel), type_);
    form->addRow(Text(strings, kCodeLabel), code_);
    form->addRow(Text(strings, kLeftLabel), left_);
    form->addRow(Text(strings, kTopLabel), top_);
    form->addRow(Text(strings, kSpacingLabel), spacing_);
    return box;
}

QWidget* ExternalCharacterPage::BuildConfirmationBox() {
    const Strings& strings = services_.context.strings;
    auto* box = new QGroupBox(this);
    confirmation_ = new QCheckBox(Text(strings, kConfirmationText), box);
    magnification_ = new QComboBox(box);
    FillCombo(magnification_, MagnificationTexts(strings));
    printMethod_ = new QComboBox(box);
    labelWidth_ = new NumberEdit(kMinLabelWidthMm, kMinLabelWidthMm, kMinLabelWidthMm, 3, box);
    labelLength_ =
        new NumberEdit(kMinLabelLengthMm, kMinLabelLengthMm, kDefaultLabelLengthMm, 4, box);
    auto* grid = new QGridLayout(box);
    grid->addWidget(confirmation_, 0, 0, 1, 4);
    grid->addWidget(new QLabel(Text(strings, kMagnificationLabel), box), 1, 0);
    grid->addWidget(magnification_, 1, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(Text(strings, kPrintMethodLabel), box), 2, 0);
    grid->addWidget(printMethod_, 2, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(Text(strings, kLabelWidthLabel), box), 1, 2);
    grid->addWidget(labelWidth_, 1, 3, Qt::AlignLeft);
    grid->addWidget(new QLabel(Text(strings, kLabelLengthLabel), box), 2, 2);
    grid->addWidget(labelLength_, 2, 3, Qt::AlignLeft);
    grid->setColumnStretch(4, 1);
    return box;
}

QWidget* ExternalCharacterPage::BuildOutputBox() {
    const Strings& strings = services_.context.strings;
    auto* box = new QGroupBox(Text(strings, kOutputTitle), this);
    output_ = new QLineEdit(box);
    outputBrowse_ = new QPushButton(Text(strings, kBrowseText), box);
    auto* row = new QHBoxLayout(box);
    row->addWidget(new QLabel(Text(strings, kOutputLabel), box));
    row->addWidget(output_, 1);
    row->addWidget(outputBrowse_);
    return box;
}

void ExternalCharacterPage::Connect() {
    connect(method_, &QComboBox::activated, this, &ExternalCharacterPage::OnMethodChanged);
    connect(location_, &QComboBox::activated, this, &ExternalCharacterPage::OnLocationChanged);
    connect(type_, &QComboBox::activated, this, &ExternalCharacterPage::OnTypeChanged);
    connect(code_, &QLineEdit::editingFinished, this, &ExternalCharacterPage::OnCodeLeft);
    connect(list_, &QListWidget::currentRowChanged, this, &ExternalCharacterPage::ShowRecord);
    connect(path_, &FileSelect::changed, this, &ExternalCharacterPage::UpdateEnabling);
    connect(confirmation_, &QCheckBox::toggled, this, &ExternalCharacterPage::UpdateEnabling);
    connect(output_, &QLineEdit::textChanged, this, &ExternalCharacterPage::UpdateEnabling);
    connect(outputBrowse_, &QPushButton::clicked, this, [this] {
        const auto path =
            services_.files.SaveFile(this, 0, sid::kGaijiFilter, sid::kGaijiExtension);
        if (path) output_->setText(ToQt(*path));
    });
    connect(create_, &QPushButton::clicked, this, &ExternalCharacterPage::OnCreate);
}

void ExternalCharacterPage::ResetPage(const PageResets& resets) {
    if (resets.externalCharacters) ResetExternalCharacterPage();
}

bool ExternalCharacterPage::HandleCommand(int command) {
    if (command != command::kRestoreDisplay) return false;
    ResetExternalCharacterPage();
    return true;
}

void ExternalCharacterPage::ResetExternalCharacterPage() {
    const PrinterModel& model = ModelOf(services_.document);
    method_->setCurrentIndex(0);
    location_->setCurrentIndex(0);
    path_->Clear();
    ClearList();
    FillTypes();
    ApplyLimits();
    ApplyTypeRules();
    confirmation_->setChecked(false);
    magnification_->setCurrentIndex(kDefaultMagnification);
    printMethods_ = PrintMethodsFor(model.name);
    std::vector<std::string> methodTexts;
    for (PrintMethod m : printMethods_)
        methodTexts.push_back(services_.context.strings.Get(static_cast<int>(m)));
    FillCombo(printMethod_, methodTexts);
    const int widthMm = std::max(kMinLabelWidthMm, model.maxWidth / 10);
    const int lengthMm = std::max(kMinLabelLengthMm, model.maxLength / 10);
    labelWidth_->SetRange(kMinLabelWidthMm, widthMm, widthMm, 3);
    labelWidth_->setValue(widthMm);
    labelLength_->SetRange(kMinLabelLengthMm, lengthMm, kDefaultLabelLengthMm, 4);
    labelLength_->setValue(kDefaultLabelLengthMm);
    output_->clear();
    progress_->setValue(0);
    UpdateEnabling();
}

bool ExternalCharacterPage::folderMode() const { return method_->currentIndex() == 1; }

GaijiLocation ExternalCharacterPage::location() const {
    return location_->currentIndex() == 1 ? GaijiLocation::Usb : GaijiLocation::Flash;
}

GaijiLimits ExternalCharacterPage::limits() const {
    return GaijiLimitsFor(location(), ModelOf(services_.document).gaijiWidth);
}

int ExternalCharacterPage::currentType() const { return type_->currentText().toInt(); }

int ExternalCharacterPage::currentCode() const {
    return ReplaceGaijiCode(currentType(), GaijiCodeFromField(FromQt(code_->text())));
}

void ExternalCharacterPage::FillTypes() {
    std::vector<std::string> texts;
    for (int type : GaijiTypesFor(location())) texts.push_back(std::to_string(type));
    FillCombo(type_, texts);
    type_->setCurrentIndex(0);
}

void ExternalCharacterPage::ShowCode(int type, int code) {
    // The mask keeps the "HEX(" and ")" around the digits the type takes.
    code_->setInputMask(IsTwoByteGaijiType(type) ? QStringLiteral("\\H\\E\\X(hhhh);_")
                                                 : QStringLiteral("\\H\\E\\X(hh);_"));
    code_->setText(ToQt(FormatGaijiCode(type, code)));
}

void ExternalCharacterPage::ApplyLimits() {
    const GaijiLimits l = limits();
    const std::pair<NumberEdit*, int> fields[] = {
        {left_, l.maxLeft}, {top_, l.maxTop}, {spacing_, l.maxSpacing}};
    for (const auto& [edit, maximum] : fields) {
        edit->SetRange(0, maximum, 0, GaijiFieldMaxLength(maximum));
    }
}

// Code, offsets and spacing as a new type wants them.
void ExternalCharacterPage::ApplyTypeRules() {
    const int type = currentType();
    ShowCode(type, DefaultGaijiCode(type));
    const int firstWidth = records_.empty() ? 0 : records_.front().width;
    const GaijiOffsetFields fields = GaijiOffsetsForType(folderMode(), type, firstWidth);
    left_->setValue(fields.left);
    top_->setValue(fields.top);
    spacing_->setValue(fields.spacing);
    for (NumberEdit* e : {left_, top_, spacing_}) e->setEnabled(fields.editable);
}

void ExternalCharacterPage::ClearList() {
    records_.clear();
    list_->clear();
    count_->clear();
    size_->clear();
    preview_->clear();
}

bool ExternalCharacterPage::TakePath(const std::string& path) {
    return folderMode() ? TakeFolder(path) : TakeFile(path);
}

bool ExternalCharacterPage::TakeFile(const std::string& path) {
    ClearList();
    const int type = currentType();
    const GaijiBitmapCheck check =
        CheckGaijiBitmap(path, type, limits(), services_.context.strings);
    if (!check.result) {
        services_.interaction.Error(check.result.messageId, check.result.message);
        return false;
    }
    GaijiRecord record;
    record.path = path;
    record.width = check.bitmap.width;
    record.height = check.bitmap.height;
    records_.push_back(record);
    list_->addItem(FileName(path));
    count_->setText(QStringLiteral("1"));
    list_->setCurrentRow(0);
    spacing_->setValue(IsFixedSizeGaijiType(type) ? 0 : record.width);
    return true;
}

bool ExternalCharacterPage::TakeFolder(const std::string& path) {
    ClearList();
    GaijiFolderScan scan = ScanGaijiFolder(path, location(), ModelOf(services_.document).gaijiWidth,
                                           spacing_->value(), services_.context.strings);
    if (!scan.result) {
        services_.interaction.Error(scan.result.messageId, scan.result.message);
        return false;
    }
    records_ = std::move(scan.records);
    for (const GaijiRecord& r : records_) list_->addItem(FileName(r.path));
    count_->setText(QString::number(records_.size()));
    list_->setCurrentRow(0);
    return true;
}

void ExternalCharacterPage::ShowRecord(int row) {
    if (row < 0 || row >= static_cast<int>(records_.size())) return;
    const GaijiRecord& r = records_[static_cast<std::size_t>(row)];
    size_->setText(ToQt(
        FormatRuntime(services_.context.strings.Get(sid::kGaijiSizeFormat), r.width, r.height)));
    ShowPreview(r.path);
    // In File mode the fields are the operator's; in Folder mode they
    // show what the file name says.
    if (!folderMode()) return;
    type_->setCurrentText(QString::number(r.type));
    ShowCode(r.type, r.code);
    left_->setValue(r.left);
    top_->setValue(r.top);
    spacing_->setValue(r.spacing);
}

void ExternalCharacterPage::ShowPreview(const std::string& path) {
    preview_->clear();
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return;
    const auto bitmap = ReadMonoBitmap(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    if (bitmap) preview_->setPixmap(MonoBitmapPixmap(*bitmap, kPreviewBox));
}

void ExternalCharacterPage::OnMethodChanged() {
    path_->Clear();
    ClearList();
    confirmation_->setChecked(false);
    FillTypes();
    ApplyLimits();
    ApplyTypeRules();
    UpdateEnabling();
}

void ExternalCharacterPage::OnLocationChanged() {
    FillTypes();
    ApplyLimits();
    ApplyTypeRules();
    const std::string path = path_->path();
    if (!path.empty() && !TakePath(path)) path_->Clear();
    UpdateEnabling();
}

void ExternalCharacterPage::OnTypeChanged() {
    const std::string path = path_->path();
    if (!folderMode() && !path.empty() && !TakeFile(path)) path_->Clear();
    ApplyTypeRules();
    UpdateEnabling();
}

void ExternalCharacterPage::OnCodeLeft() {
    const int type = currentType();
    ShowCode(type, currentCode());
}

void ExternalCharacterPage::UpdateEnabling() {
    const bool file = !folderMode();
    list_->setEnabled(!file);
    type_->setEnabled(file);
    code_->setEnabled(file);
    if (!file) {
        for (NumberEdit* e : {left_, top_, spacing_}) e->setEnabled(false);
    }
    confirmation_->setEnabled(file);
    const bool print = file && confirmation_->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{magnification_, printMethod_, labelWidth_, labelLength_}) {
        w->setEnabled(print);
    }
    create_->setEnabled(!records_.empty() && !Trim(FromQt(output_->text())).empty());
}

void ExternalCharacterPage::OnCreate() {
    const PrinterModel& model = ModelOf(services_.document);
    GaijiFileJob job;
    job.location = location();
    job.gaijiWidth = model.gaijiWidth;
    job.codes = GaijiFileCodes(services_.context.settings);
    job.outputPath = Trim(FromQt(output_->text()));
    job.records = records_;
    if (!folderMode() && !job.records.empty()) {
        GaijiRecord& r = job.records.front();
        r.type = currentType();
        r.code = currentCode();
        r.left = left_->value();
        r.top = top_->value();
        r.spacing = spacing_->value();
        if (confirmation_->isChecked()) {
            ConfirmationPrint print;
            print.magnification = magnification_->currentIndex();
            const auto method = static_cast<std::size_t>(std::max(0, printMethod_->currentIndex()));
            if (method < printMethods_.size()) print.method = printMethods_[method];
            print.labelWidthMm = labelWidth_->value();
            print.labelLengthMm = labelLength_->value();
            print.modelName = model.name;
            job.confirmation = print;
        }
    }
    progress_->setValue(0);
    const BuildResult result = CreateExternalCharacterFile(
        job, services_.context.strings, [this](int percent) { progress_->setValue(percent); });
    if (!result) services_.interaction.Error(result.messageId, result.message);
}

}  // namespace rvq::ui
