#include "ui/pages/html_rom_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/app/app_context.h"
#include "core/app/navigation.h"
#include "core/app/string_ids.h"
#include "core/builders/html_rom_rows.h"
#include "ui/file_dialogs.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kNumberColumn = 60115;
constexpr int kTypeLabel = 61060;
constexpr int kSourceLabel = 61061;
constexpr int kOutputLabel = 61062;
constexpr int kBrowseLabel = 61063;
constexpr int kHeaderLabel = 61064;
constexpr int kCreateLabel = 61065;
constexpr int kCountLabel = 61066;
constexpr int kSourceGroup = 61067;
constexpr int kRomGroup = 61068;
constexpr int kIdColumn = 61069;
constexpr int kOffsetColumn = 61070;
constexpr int kSizeColumn = 61071;
constexpr int kFolderTitle = 61072;

}  // namespace

HtmlRomPage::HtmlRomPage(UiServices& services, QWidget* parent)
    : PageView(parent), services_(services) {
    const Strings& strings = services.context.strings;

    type_ = new QComboBox(this);
    type_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    type_->setMinimumWidth(160);
    loadAddress_ = new QLabel(this);
    source_ = new QLineEdit(this);
    source_->setReadOnly(true);
    sourceBrowse_ = new QPushButton(Text(strings, kBrowseLabel), this);
    output_ = new QLineEdit(this);
    outputBrowse_ = new QPushButton(Text(strings, kBrowseLabel), this);
    withHeader_ = new QCheckBox(Text(strings, kHeaderLabel), this);
    create_ = new QPushButton(Text(strings, kCreateLabel), this);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(Text(strings, kTypeLabel), this), 0, 0);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(type_);
    typeRow->addSpacing(16);
    typeRow->addWidget(loadAddress_, 1);
    form->addLayout(typeRow, 0, 1, 1, 2);
    form->addWidget(new QLabel(Text(strings, kSourceLabel), this), 1, 0);
    form->addWidget(source_, 1, 1);
    form->addWidget(sourceBrowse_, 1, 2);
    form->addWidget(new QLabel(Text(strings, kOutputLabel), this), 2, 0);
    form->addWidget(output_, 2, 1);
    form->addWidget(outputBrowse_, 2, 2);
    auto* createRow = new QHBoxLayout;
    createRow->addWidget(withHeader_);
    createRow->addStretch(1);
    createRow->addWidget(create_);
    form->addLayout(createRow, 3, 1, 1, 2);
    form->setColumnStretch(1, 1);

    auto* sourceGroup = new QGroupBox(Text(strings, kSourceGroup), this);
    files_ = new QListWidget(sourceGroup);
    files_->setSelectionMode(QAbstractItemView::NoSelection);
    count_ = new QLabel(sourceGroup);
    size_ = new QLabel(sourceGroup);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(Text(strings, kCountLabel), sourceGroup));
    countRow->addWidget(count_);
    countRow->addStretch(1);
    countRow->addWidget(size_);
    auto* sourceLayout = new QVBoxLayout(sourceGroup);
    sourceLayout->addWidget(files_, 1);
    sourceLayout->addLayout(countRow);

    auto* romGroup = new QGroupBox(Text(strings, kRomGroup), this);
    rom_ = new QTreeWidget(romGroup);
    rom_->setRootIsDecorated(false);
    rom_->setSelectionMode(QAbstractItemView::NoSelection);
    rom_->setHeaderLabels({Text(strings, kNumberColumn), Text(strings, kIdColumn),
                           Text(strings, sid::kFileNameColumn), Text(strings, kOffsetColumn),
                           Text(strings, kSizeColumn)});
    rom_->header()->setStretchLastSection(false);
    rom_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    rom_->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    auto* romLayout = new QVBoxLayout(romGroup);
    romLayout->addWidget(rom_, 1);

    auto* lists = new QHBoxLayout;
    lists->addWidget(sourceGroup, 2);
    lists->addWidget(romGroup, 3);

    progress_ = new QProgressBar(this);
    progress_->setRange(0, 100);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addLayout(form);
    layout->addLayout(lists, 1);
    layout->addWidget(progress_);

    connect(type_, &QComboBox::activated, this, &HtmlRomPage::OnTypeChosen);
    connect(sourceBrowse_, &QPushButton::clicked, this, &HtmlRomPage::OnBrowseSource);
    connect(outputBrowse_, &QPushButton::clicked, this, &HtmlRomPage::OnBrowseOutput);
    connect(output_, &QLineEdit::textChanged, this, &HtmlRomPage::UpdateCreate);
    connect(create_, &QPushButton::clicked, this, &HtmlRomPage::OnCreate);

    ResetHtmlRomPage();
}

HtmlRomType HtmlRomPage::romType() const {
    return static_cast<HtmlRomType>(type_->currentData().toInt());
}

void HtmlRomPage::FillTypes() {
    const QVariant chosen = type_->currentData();
    const QSignalBlocker quiet(type_);
    type_->clear();
    for (HtmlRomType type : OfferedHtmlRomTypes(services_.context.serviceMode)) {
        type_->addItem(Text(services_.context.strings, HtmlRomTypeInfoOf(type).nameId),
                       static_cast<int>(type));
    }
    const int index = chosen.isValid() ? type_->findData(chosen) : -1;
    type_->setCurrentIndex(index >= 0 ? index : 0);
}

void HtmlRomPage::ResetHtmlRomPage() {
    {
        const QSignalBlocker quiet(type_);
        type_->setCurrentIndex(-1);
    }
    FillTypes();
    type_->setCurrentIndex(0);
    loadAddress_->setText(ToQt(HtmlRomLoadAddressText(romType())));
    source_->clear();
    output_->clear();
    ClearScan();
    rom_->clear();
    progress_->setValue(0);
    UpdateCreate();
}

void HtmlRomPage::ResetPage(const PageResets& resets) {
    if (resets.downloads) ResetHtmlRomPage();
}

bool HtmlRomPage::HandleCommand(int command) {
    if (command != command::kRestoreDisplay) return false;
    ResetHtmlRomPage();
    return true;
}

void HtmlRomPage::ServiceModeChanged() { FillTypes(); }

void HtmlRomPage::OnTypeChosen() {
    loadAddress_->setText(ToQt(HtmlRomLoadAddressText(romType())));
    if (!source_->text().isEmpty()) Scan();
}

void HtmlRomPage::OnBrowseSource() {
    const auto folder = services_.files.OpenFolder(this, kFolderTitle);
    if (folder) ChooseSource(*folder);
}

void HtmlRomPage::ChooseSource(const std::string& folder) {
    source_->setText(ToQt(folder));
    Scan();
}

void HtmlRomPage::OnBrowseOutput() {
    const auto path = services_.files.SaveFile(this, 0, sid::kHtmlRomFilter, sid::kBinExtension);
    if (path) output_->setText(ToQt(*path));
}

void HtmlRomPage::ClearScan() {
    scan_ = {};
    files_->clear();
    count_->setText(QStringLiteral("0"));
    size_->clear();
}

void HtmlRomPage::Scan() {
    const AppContext& context = services_.context;
    ClearScan();
    scan_ = ScanHtmlRomFolder(FromQt(source_->text()), romType(), context.strings,
                              CodePageFor(context.isJapanese));
    for (const HtmlRomSource& file : scan_.files) files_->addItem(ToQt(file.relativePath));
    count_->setText(QString::number(scan_.files.size()));
    size_->setText(ToQt(HtmlRomSizeText(scan_.totalSize, romType())));
    if (!scan_.result) {
        services_.interaction.Error(scan_.result.messageId, scan_.result.message);
        source_->clear();
    }
    UpdateCreate();
}

void HtmlRomPage::UpdateCreate() {
    create_->setEnabled(!output_->text().trimmed().isEmpty() && !scan_.files.empty() &&
                        static_cast<bool>(scan_.result));
}

void HtmlRomPage::OnCreate() {
    const AppContext& context = services_.context;
    const CodePage codePage = CodePageFor(context.isJapanese);
    rom_->clear();
    progress_->setValue(0);
    const HtmlRomBuild build = CreateHtmlRomFile(
        scan_.files, romType(), withHeader_->isChecked(), FromQt(output_->text().trimmed()),
        context.strings, codePage, [this](int percent) { progress_->setValue(percent); });
    if (!build.result) {
        progress_->setValue(0);
        services_.interaction.Error(build.result.messageId, build.result.message);
        return;
    }
    for (const HtmlRomRow& row : HtmlRomResultRows(build.image, context.strings, codePage)) {
        QStringList texts;
        for (const std::string& text : row) texts << ToQt(text);
        auto* item = new QTreeWidgetItem(rom_, texts);
        for (int column : {0, 3, 4}) item->setTextAlignment(column, Qt::AlignRight);
    }
    progress_->setValue(100);
}

}  // namespace rvq::ui
