#include "ui/pages/firmware_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/navigation.h"
#include "core/app/string_ids.h"
#include "core/builders/download_image.h"
#include "core/comm/ops/download_inputs.h"
#include "core/pages/firmware_page.h"
#include "ui/column_widths.h"
#include "ui/file_dialogs.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kAddLabel = 61050;
constexpr int kDeleteLabel = 61051;
constexpr int kDownloadModeLabel = 61052;
constexpr int kStartLabel = 61053;
constexpr int kDetailsGroup = 61054;
constexpr int kFileNameWidth = 450;
constexpr int kFileNameWidthJapanese = 520;
constexpr int kNarrowColumnWidth = 100;

QPlainTextEdit* DetailBox(QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setFrameShape(QFrame::NoFrame);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setFixedHeight(box->fontMetrics().lineSpacing() * 5);
    return box;
}

QString LineEnds(const std::string& text) {
    QString shown = ToQt(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

}  // namespace

FirmwarePage::FirmwarePage(UiServices& services, QWidget* parent)
    : PageView(parent), services_(services) {
    const AppContext& context = services.context;
    const Strings& strings = context.strings;

    view_ = new QTreeWidget(this);
    view_->setRootIsDecorated(false);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setHeaderLabels({Text(strings, sid::kFileNameColumn), Text(strings, sid::kSectionColumn),
                            Text(strings, sid::kVersionColumn)});
    SetColumnWidths(view_->header(), {context.isJapanese ? kFileNameWidthJapanese : kFileNameWidth,
                                      kNarrowColumnWidth, kNarrowColumnWidth});
    view_->header()->setSectionsMovable(false);

    add_ = new QPushButton(Text(strings, kAddLabel), this);
    delete_ = new QPushButton(Text(strings, kDeleteLabel), this);
    downloadMode_ = new QCheckBox(Text(strings, kDownloadModeLabel), this);
    start_ = new QPushButton(Text(strings, kStartLabel), this);
    delete_->setEnabled(false);
    start_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(delete_);
    buttons->addStretch(1);
    buttons->addWidget(downloadMode_);
    buttons->addSpacing(12);
    buttons->addWidget(start_);

    auto* details = new QGroupBox(Text(strings, kDetailsGroup), this);
    fileName_ = new QLineEdit(details);
    fileName_->setReadOnly(true);
    fileName_->setFrame(false);
    labels_ = DetailBox(details);
    values_ = DetailBox(details);
    // The labels end in two tabs; short stops keep their column narrow.
    const int labelWidth = labels_->fontMetrics().horizontalAdvance(QStringLiteral("Address: "));
    labels_->setTabStopDistance(labelWidth / 2.0);
    labels_->setFixedWidth(labelWidth * 2 + 8);
    auto* columns = new QHBoxLayout;
    columns->addWidget(labels_);
    columns->addWidget(values_, 1);
    auto* detailLayout = new QVBoxLayout(details);
    detailLayout->addWidget(fileName_);
    detailLayout->addLayout(columns);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);
    layout->addWidget(details);

    connect(add_, &QPushButton::clicked, this, &FirmwarePage::OnAdd);
    connect(delete_, &QPushButton::clicked, this, &FirmwarePage::OnDelete);
    connect(start_, &QPushButton::clicked, this, &FirmwarePage::OnStart);
    connect(view_, &QTreeWidget::itemSelectionChanged, this, &FirmwarePage::OnSelectionChanged);

    UpdateDownloadModeBox(context.settings.interfaceName);
}

void FirmwarePage::showEvent(QShowEvent* event) {
    // The interface may have changed on the printer setting page, which
    // hands its values to the tool settings before another page shows.
    UpdateDownloadModeBox(services_.context.settings.interfaceName);
    PageView::showEvent(event);
}

void FirmwarePage::UpdateDownloadModeBox(const InterfaceName& interfaceName) {
    const DownloadModeBox box =
        DownloadModeBoxFor(services_.context.settings.downloadMode, interfaceName);
    downloadMode_->setVisible(box.visible);
    downloadMode_->setEnabled(box.enabled);
    if (!box.enabled) downloadMode_->setChecked(false);
}

void FirmwarePage::ClearRomList() {
    list_.entries.clear();
    FillList(-1);
    add_->setEnabled(true);
    delete_->setEnabled(false);
    start_->setEnabled(false);
    BlankDetails();
}

void FirmwarePage::ResetPage(const PageResets& resets) {
    if (resets.downloads) ClearRomList();
}

bool FirmwarePage::HandleCommand(int command) {
    if (command != command::kRestoreDisplay) return false;
    ClearRomList();
    return true;
}

void FirmwarePage::OnAdd() {
    const auto path = services_.files.OpenFile(this, 0, sid::kRomFilter);
    if (path) AddFile(*path);
}

void FirmwarePage::AddFile(const std::string& path) {
    const AppContext& context = services_.context;
    int position = -1;
    const AddRomOutcome outcome =
        AddRomFile(list_, path, context.settings.printerModel, services_.interaction,
                   context.strings, CodePageFor(context.isJapanese), &position);
    if (outcome != AddRomOutcome::Added && outcome != AddRomOutcome::Replaced) return;
    FillList(position);
    delete_->setEnabled(true);
    ShowDetails(position);
    start_->setEnabled(true);
}

void FirmwarePage::OnDelete() {
    const int row = view_->indexOfTopLevelItem(view_->currentItem());
    if (row < 0) return;
    DeleteRomEntry(list_, static_cast<std::size_t>(row));
    FillList(-1);
    add_->setEnabled(true);
    delete_->setEnabled(false);
    BlankDetails();
    start_->setEnabled(!list_.entries.empty());
}

void FirmwarePage::OnStart() {
    const AppContext& context = services_.context;
    const Strings& strings = context.strings;
    if (!services_.interaction.Confirm(sid::kConfirmFirmwareDownload,
                                       strings.Get(sid::kConfirmFirmwareDownload))) {
        return;
    }
    const auto firmware = BuildFirmwareDownloadInputs(list_, context.settings.controlCodes);
    if (!firmware) {
        services_.interaction.Error(sid::kMsgNotRomFile, strings.Get(sid::kMsgNotRomFile));
        return;
    }
    // The job owns the loaded images; they go when the run has ended.
    const bool downloadMode =
        FirmwareDownloadModeFlag(context.settings, downloadMode_->isChecked());
    if (services_.runJob)
        std::ignore = services_.runJob(this, FirmwareJobInputs(*firmware, downloadMode));
}

void FirmwarePage::OnSelectionChanged() {
    const QList<QTreeWidgetItem*> selected = view_->selectedItems();
    if (selected.isEmpty()) {
        delete_->setEnabled(false);
        BlankDetails();
        return;
    }
    delete_->setEnabled(true);
    ShowDetails(view_->indexOfTopLevelItem(selected.front()));
}

void FirmwarePage::FillList(int selectRow) {
    const QSignalBlocker quiet(view_);
    view_->clear();
    for (const RomListEntry& entry : list_.entries) {
        auto* item = new QTreeWidgetItem(
            view_, {ToQt(entry.path), ToQt(entry.section), ToQt(entry.version)});
        item->setToolTip(0, ToQt(entry.path));
    }
    if (selectRow >= 0 && selectRow < view_->topLevelItemCount()) {
        view_->setCurrentItem(view_->topLevelItem(selectRow));
    }
}

void FirmwarePage::ShowDetails(int row) {
    if (row < 0 || row >= static_cast<int>(list_.entries.size())) return;
    const AppContext& context = services_.context;
    const std::string& path = list_.entries[static_cast<std::size_t>(row)].path;
    // Read again: the file may have changed since it was added. A file
    // that cannot be read now leaves the details as they were.
    const auto info = ReadRomTrailer(path, CodePageFor(context.isJapanese));
    if (!info) return;
    const RomDetails details = RomDetailsOf(path, *info, context.strings);
    fileName_->setText(ToQt(details.fileLine));
    labels_->setPlainText(LineEnds(details.labels));
    values_->setPlainText(LineEnds(details.values));
}

void FirmwarePage::BlankDetails() {
    fileName_->clear();
    labels_->clear();
    values_->clear();
}

}  // namespace rvq::ui
