#include "ui/mlan_select_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "ui/column_widths.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kCaption = 60300;
constexpr int kNumberColumn = 60115;
constexpr int kOk = 60032;
constexpr int kCancel = 60033;

}  // namespace

MLanSelectDialog::MLanSelectDialog(const Strings& strings, const std::vector<LanPrinter>& printers,
                                   QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(Text(strings, kCaption));
    table_ = new QTableWidget(static_cast<int>(printers.size()), 3, this);
    table_->setHorizontalHeaderLabels({Text(strings, kNumberColumn),
                                       Text(strings, sid::kHostColumn),
                                       Text(strings, sid::kPortColumn)});
    SetColumnWidths(table_->horizontalHeader(), {55, 220, 80});
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (std::size_t i = 0; i < printers.size(); ++i) {
        const int row = static_cast<int>(i);
        auto* number = new QTableWidgetItem(QString::number(row + 1));
        number->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        number->setCheckState(Qt::Checked);
        number->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* host = new QTableWidgetItem(ToQt(printers[i].host));
        host->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        auto* port = new QTableWidgetItem(QString::number(printers[i].port));
        port->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        port->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table_->setItem(row, 0, number);
        table_->setItem(row, 1, host);
        table_->setItem(row, 2, port);
    }
    connect(table_, &QTableWidget::itemChanged, this, &MLanSelectDialog::UpdateOk);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(Text(strings, kOk), QDialogButtonBox::AcceptRole);
    buttons->addButton(Text(strings, kCancel), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addWidget(buttons);
    resize(420, 320);
    UpdateOk();
}

std::vector<bool> MLanSelectDialog::selection() const {
    std::vector<bool> ticked;
    for (int row = 0; row < table_->rowCount(); ++row)
        ticked.push_back(table_->item(row, 0)->checkState() == Qt::Checked);
    return ticked;
}

void MLanSelectDialog::UpdateOk() {
    const std::vector<bool> ticked = selection();
    ok_->setEnabled(std::find(ticked.begin(), ticked.end(), true) != ticked.end());
}

}  // namespace rvq::ui

namespace rvq::ui {

std::optional<std::vector<bool>> PickPrintersWithDialog(const Strings& strings, QWidget* parent,
                                                        const std::vector<LanPrinter>& printers) {
    MLanSelectDialog dialog(strings, printers, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selection();
}

}  // namespace rvq::ui
