#include "ui/pages/multi_lan_box.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/app/app_context.h"
#include "core/app/field_rules.h"
#include "core/app/multi_lan_edit.h"
#include "core/app/save_failure.h"
#include "core/app/text.h"
#include "ui/column_widths.h"
#include "ui/file_dialogs.h"
#include "ui/line_edit_rules.h"
#include "ui/number_edit.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kHostColumnLabel = 580;
constexpr int kPortColumnLabel = 581;
constexpr int kNumberColumnLabel = 60115;
constexpr int kListLabel = 60109;
constexpr int kHostLabel = 60108;
constexpr int kPortLabel = 60103;
constexpr int kAddLabel = 60110;
constexpr int kDeleteLabel = 60111;
constexpr int kImportLabel = 60112;
constexpr int kExportLabel = 60113;
constexpr int kImportTitle = 440;
constexpr int kExportTitle = 441;
constexpr int kListFilter = 727;
constexpr int kListExtension = 726;
constexpr int kHostMaxLength = 32;
constexpr int kDefaultPort = 8000;

QTableWidgetItem* Cell(const QString& text, bool right) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (right) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

}  // namespace

MultiLanBox::MultiLanBox(UiServices& services, QWidget* parent)
    : QWidget(parent), services_(services) {
    const Strings& strings = services.context.strings;
    table_ = new QTableWidget(0, 3, this);
    table_->setHorizontalHeaderLabels({Text(strings, kNumberColumnLabel),
                                       Text(strings, kHostColumnLabel),
                                       Text(strings, kPortColumnLabel)});
    table_->horizontalHeaderItem(0)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table_->horizontalHeaderItem(2)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetColumnWidths(table_->horizontalHeader(), {35, services.context.isJapanese ? 215 : 175, 80});
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // As wide as its columns, so the buttons stay beside them.
    const int columns = table_->columnWidth(0) + table_->columnWidth(1) + table_->columnWidth(2);
    table_->setFixedWidth(columns + 2 * table_->frameWidth() +
                          table_->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    connect(table_, &QTableWidget::itemSelectionChanged, this, &MultiLanBox::OnSelectionChanged);

    host_ = new QLineEdit(this);
    host_->setMaxLength(kHostMaxLength);
    host_->setMinimumWidth(240);
    host_->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
    FilterWhileTyping(host_, KeepAscii);
    TrimOnLeave(host_);
    connect(host_, &QLineEdit::textChanged, this, &MultiLanBox::UpdateButtons);
    port_ = new NumberEdit(0, 65535, kDefaultPort, 5, this);

    add_ = new QPushButton(Text(strings, kAddLabel), this);
    delete_ = new QPushButton(Text(strings, kDeleteLabel), this);
    import_ = new QPushButton(Text(strings, kImportLabel), this);
    export_ = new QPushButton(Text(strings, kExportLabel), this);
    connect(add_, &QPushButton::clicked, this, &MultiLanBox::OnAdd);
    connect(delete_, &QPushButton::clicked, this, &MultiLanBox::OnDelete);
    connect(import_, &QPushButton::clicked, this, &MultiLanBox::OnImport);
    connect(export_, &QPushButton::clicked, this, &MultiLanBox::OnExport);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {add_, delete_, import_, export_}) buttons->addWidget(b);
    buttons->addStretch(1);
    auto* list = new QHBoxLayout;
    list->addWidget(table_);
    list->addLayout(buttons);
    list->addStretch(1);
    auto* entry = new QFormLayout;
    entry->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    entry->addRow(Text(strings, kHostLabel), host_);
    entry->addRow(Text(strings, kPortLabel), port_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(Text(strings, kListLabel), this));
    layout->addLayout(list, 1);
    layout->addLayout(entry);
    UpdateButtons();
}

void MultiLanBox::SetPrinters(const std::vector<LanPrinter>& printers) {
    printers_ = printers;
    Refill(-1);
}

void MultiLanBox::Refill(int selected) {
    {
        const QSignalBlocker blocker(table_);
        table_->clearContents();
        table_->setRowCount(static_cast<int>(printers_.size()));
        for (std::size_t i = 0; i < printers_.size(); ++i) {
            const int row = static_cast<int>(i);
            table_->setItem(row, 0, Cell(QString::number(row + 1), true));
            table_->setItem(row, 1, Cell(ToQt(printers_[i].host), false));
            table_->setItem(row, 2, Cell(QString::number(printers_[i].port), true));
        }
        table_->clearSelection();
        if (selected >= 0 && selected < table_->rowCount()) table_->selectRow(selected);
    }
    OnSelectionChanged();
}

int MultiLanBox::Selected() const {
    const QList<QTableWidgetItem*> items = table_->selectedItems();
    return items.isEmpty() ? -1 : items.front()->row();
}

void MultiLanBox::OnSelectionChanged() {
    const int row = Selected();
    if (row >= 0 && static_cast<std::size_t>(row) < printers_.size()) {
        host_->setText(ToQt(printers_[static_cast<std::size_t>(row)].host));
        port_->setValue(printers_[static_cast<std::size_t>(row)].port);
    } else {
        host_->clear();
        port_->setValue(kDefaultPort);
    }
    UpdateButtons();
}

void MultiLanBox::OnAdd() {
    const std::string host = Trim(FromQt(host_->text()));
    const AddOutcome outcome = AddPrinter(printers_, Selected(), host, port_->value());
    if (outcome.messageId != 0) {
        services_.interaction.Error(outcome.messageId,
                                    services_.context.strings.Get(outcome.messageId));
    }
    if (!outcome.added) return;
    Refill(outcome.selected);
    emit listChanged();
}

void MultiLanBox::OnDelete() {
    const int selected = DeletePrinter(printers_, Selected());
    Refill(selected);
    emit listChanged();
}

void MultiLanBox::OnImport() {
    const Strings& strings = services_.context.strings;
    const auto path = services_.files.OpenFile(this, kImportTitle, kListFilter);
    if (!path) return;
    const MultiLanImport imported = ImportMultiLanList(*path, strings);
    if (!imported.ok) {
        services_.interaction.Error(imported.messageId, strings.Get(imported.messageId));
        return;
    }
    SetPrinters(imported.printers);
    emit listChanged();
}

void MultiLanBox::OnExport() {
    const Strings& strings = services_.context.strings;
    const auto path = services_.files.SaveFile(this, kExportTitle, kListFilter, kListExtension);
    if (!path) return;
    if (const WriteResult written = ExportMultiLanList(*path, printers_, strings); !written) {
        const SaveFailureMessage message = SaveFailureMessageFor(written, kMsgSaveFailed, strings);
        services_.interaction.Error(message.id, message.text);
    }
}

void MultiLanBox::UpdateButtons() {
    add_->setEnabled(CanAddPrinter(printers_, Trim(FromQt(host_->text()))));
    delete_->setEnabled(Selected() >= 0);
    export_->setEnabled(!printers_.empty());
}

}  // namespace rvq::ui
