#include "ui/pages/basic_download_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/navigation.h"
#include "core/app/printer_model.h"
#include "core/app/string_ids.h"
#include "core/builders/basic_encoder.h"
#include "core/builders/basic_error_message.h"
#include "core/builders/download_store.h"
#include "ui/combo_util.h"
#include "ui/file_dialogs.h"
#include "ui/number_edit.h"
#include "ui/pages/file_select.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kAllocateText = 67010;
constexpr int kTtfLabel = 67011;
constexpr int kBitmapLabel = 67012;
constexpr int kBasicLabel = 67013;
constexpr int kPcSaveLabel = 67014;
constexpr int kMainText = 67015;
constexpr int kSystemText = 67016;
constexpr int kDataText = 67017;
constexpr int kStartBlockLabel = 67018;
constexpr int kStartText = 67019;
constexpr int kBrowseText = 67020;
constexpr int kFilesTitle = 67023;

constexpr BasicAllocationChoice kDefaultAllocation{};
constexpr int kStartBlockLength = 2;

const PrinterModel& ModelOf(const Document& document) {
    static const PrinterModel none;
    const PrinterModel* model = document.model();
    return model != nullptr ? *model : none;
}

void SelectClamped(QComboBox* combo, int index) {
    combo->setCurrentIndex(std::clamp(index, 0, combo->count() - 1));
}

}  // namespace

BasicDownloadPage::BasicDownloadPage(UiServices& services, DownloadStore& store, QWidget* parent)
    : PageView(parent), services_(services), store_(store) {
    files_[0].encoder = &store.MainProgram();
    files_[1].encoder = &store.SystemProgram();
    files_[2].encoder = &store.DataFile();

    startButton_ = new QPushButton(Text(services.context.strings, kStartText), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(startButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(BuildAllocationBox());
    layout->addWidget(BuildFilesBox());
    layout->addLayout(buttons);
    layout->addStretch(1);

    connect(allocate_, &QCheckBox::toggled, this, [this] { UpdateEnabling(); });
    for (QComboBox* combo : {ttf_, bitmap_, basic_}) {
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { UpdateAllocation(); });
    }
    connect(startButton_, &QPushButton::clicked, this, &BasicDownloadPage::OnStart);
    ResetBasicPage();
}

QWidget* BasicDownloadPage::BuildAllocationBox() {
    const Strings& strings = services_.context.strings;
    auto* box = new QGroupBox(this);
    allocate_ = new QCheckBox(Text(strings, kAllocateText), box);
    ttf_ = new QComboBox(box);
    bitmap_ = new QComboBox(box);
    basic_ = new QComboBox(box);
    pcSave_ = new QLineEdit(box);
    pcSave_->setReadOnly(true);
    pcSave_->setMaximumWidth(120);
    auto* grid = new QGridLayout(box);
    grid->addWidget(allocate_, 0, 0, 1, 2, Qt::AlignLeft);
    const int labels[] = {kTtfLabel, kBitmapLabel, kBasicLabel, kPcSaveLabel};
    QWidget* fields[] = {ttf_, bitmap_, basic_, pcSave_};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(Text(strings, labels[i]), box);
        allocationLabels_[static_cast<std::size_t>(i)] = label;
        grid->addWidget(label, i + 1, 0);
        grid->addWidget(fields[i], i + 1, 1, Qt::AlignLeft);
    }
    grid->setColumnMinimumWidth(0, 200);
    grid->setColumnStretch(2, 1);
    return box;
}

QWidget* BasicDownloadPage::BuildFilesBox() {
    const Strings& strings = services_.context.strings;
    auto* box = new QGroupBox(Text(strings, kFilesTitle), this);
    auto* grid = new QGridLayout(box);
    const int captions[] = {kMainText, kSystemText, kDataText};
    const int filters[] = {sid::kBasicFilter, sid::kBasicFilter, sid::kDataFilter};
    for (int i = 0; i < kFileCount; ++i) {
        FileRow& row = files_[static_cast<std::size_t>(i)];
        row.check = new QCheckBox(Text(strings, captions[i]), box);
        row.start = new NumberEdit(0, 0, 0, kStartBlockLength, box);
        row.field = new FileSelect(Text(strings, kBrowseText), box);
        const int filter = filters[i];
        row.field->choose = [this, filter] { return services_.files.OpenFile(this, 0, filter); };
        row.field->accept = [this, i](const std::string& path) { return Encode(i, path); };
        grid->addWidget(row.check, i, 0, Qt::AlignLeft);
        row.startLabel = new QLabel(Text(strings, kStartBlockLabel), box);
        grid->addWidget(row.startLabel, i, 1);
        grid->addWidget(row.start, i, 2);
        grid->addWidget(row.field, i, 3);
        connect(row.check, &QCheckBox::toggled, this, [this, i] { OnFileCheck(i); });
        connect(row.field, &FileSelect::changed, this, [this] { UpdateEnabling(); });
    }
    grid->setColumnMinimumWidth(0, 200);
    grid->setColumnStretch(3, 1);
    return box;
}

void BasicDownloadPage::ResetPage(const PageResets& resets) {
    if (resets.downloads) ResetBasicPage();
}

bool BasicDownloadPage::HandleCommand(int command) {
    if (command != command::kRestoreDisplay) return false;
    ResetBasicPage();
    return true;
}

void BasicDownloadPage::ResetBasicPage() {
    // The page's own signals would re-evaluate half-reset state.
    const QSignalBlocker blockAllocate(allocate_);
    allocate_->setChecked(false);
    FillAllocationCombos();
    ApplyModelLimits();
    for (FileRow& row : files_) {
        const QSignalBlocker blockCheck(row.check);
        row.check->setChecked(false);
        row.start->setValue(row.modelStart);
        row.field->Clear();
        row.encoder->Clear();
    }
    UpdateAllocation();
}

void BasicDownloadPage::FillAllocationCombos() {
    const Strings& strings = services_.context.strings;
    const std::vector<std::string> entries =
        AllocationEntries(strings, ModelOf(services_.document));
    std::vector<std::string> basicEntries{strings.Get(sid::kNoChange)};
    basicEntries.insert(basicEntries.end(), entries.begin(), entries.end());
    const QSignalBlocker b1(ttf_), b2(bitmap_), b3(basic_);
    FillCombo(ttf_, entries);
    FillCombo(bitmap_, entries);
    FillCombo(basic_, basicEntries);
    SelectClamped(ttf_, kDefaultAllocation.ttfBlocks);
    SelectClamped(bitmap_, kDefaultAllocation.bitmapBlocks);
    SelectClamped(basic_, kDefaultAllocation.basicIndex);
}

void BasicDownloadPage::ApplyModelLimits() {
    const PrinterModel& model = ModelOf(services_.document);
    const int starts[] = {model.mainStartBlock, model.systemStartBlock, model.dataStartBlock};
    const int last = std::max(0, model.maxBlock - 1);
    for (int i = 0; i < kFileCount; ++i) {
        FileRow& row = files_[static_cast<std::size_t>(i)];
        row.modelStart = std::clamp(starts[i], 0, last);
        row.start->SetRange(0, last, row.modelStart, kStartBlockLength);
    }
}

bool BasicDownloadPage::Encode(int index, const std::string& path) {
    BasicEncoder& encoder = *files_[static_cast<std::size_t>(index)].encoder;
    const bool encoded = index == 0   ? encoder.EncodeBasicProgram(path, 1)
                         : index == 1 ? encoder.EncodeBasicProgram(path, 0)
                                      : encoder.EncodeBasicDataFile(path);
    if (!encoded) {
        ShowEncoderError(services_.context.strings, services_.interaction, encoder.ErrorText());
        encoder.Clear();
    }
    return encoded;
}

void BasicDownloadPage::OnFileCheck(int index) {
    FileRow& row = files_[static_cast<std::size_t>(index)];
    if (!row.check->isChecked()) {
        row.field->Clear();
        row.encoder->Clear();
    }
    UpdateEnabling();
}

void BasicDownloadPage::UpdateAllocation() {
    const BasicPageChoice choice = Choice();
    pcSave_->setText(ToQt(
        PcSaveText(services_.context.strings, ModelOf(services_.document), choice.allocation)));
    UpdateEnabling();
}

void BasicDownloadPage::UpdateEnabling() {
    const bool allocate = allocate_->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(ttf_), static_cast<QWidget*>(bitmap_),
                       static_cast<QWidget*>(basic_)}) {
        w->setEnabled(allocate);
    }
    for (std::size_t i = 0; i < 3; ++i) allocationLabels_[i]->setEnabled(allocate);
    const bool pcSave = allocate && basic_->currentIndex() != 0;
    allocationLabels_[3]->setEnabled(pcSave);
    pcSave_->setEnabled(pcSave);
    for (FileRow& row : files_) {
        const bool on = row.check->isChecked();
        row.startLabel->setEnabled(on);
        row.start->setEnabled(on);
        row.field->setEnabled(on);
    }
    startButton_->setEnabled(BasicStartEnabled(ModelOf(services_.document), Choice()));
}

BasicPageChoice BasicDownloadPage::Choice() const {
    BasicPageChoice choice;
    choice.allocate = allocate_->isChecked();
    choice.allocation = {ttf_->currentIndex(), bitmap_->currentIndex(), basic_->currentIndex()};
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const FileRow& row = files_[i];
        choice.files[i] = {row.check->isChecked(), row.start->value(), row.encoder};
    }
    return choice;
}

void BasicDownloadPage::OnStart() {
    const Strings& strings = services_.context.strings;
    if (!services_.interaction.Confirm(sid::kConfirmBasicDownload,
                                       strings.Get(sid::kConfirmBasicDownload)))
        return;
    for (FileRow& row : files_) row.start->setValue(row.start->value());
    const std::shared_ptr<JobInputs> job = MakeBasicPageJob(Choice());
    if (!job) return;
    std::ignore = services_.runJob(this, job);
}

}  // namespace rvq::ui
