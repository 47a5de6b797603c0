#include "ui/pages/info_list.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>

#include "core/app/string_ids.h"
#include "ui/column_widths.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

// The item column's own width, which a fill never goes below.
const char* const kItemWidth = "rvqItemWidth";

}  // namespace

QTreeWidget* MakeInfoList(const Strings& strings, bool isJapanese, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setColumnCount(2);
    list->setHeaderLabels({Text(strings, sid::kItemColumn), Text(strings, sid::kValueColumn)});
    list->setRootIsDecorated(false);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setUniformRowHeights(true);
    list->header()->setStretchLastSection(false);
    SetColumnWidths(list->header(), {isJapanese ? 108 : 100, isJapanese ? 82 : 70});
    list->setProperty(kItemWidth, list->columnWidth(0));
    return list;
}

void ShowRows(QTreeWidget* list, const std::vector<InfoRow>& rows) {
    list->clear();
    QList<QTreeWidgetItem*> items;
    for (const InfoRow& row : rows) {
        auto* item = new QTreeWidgetItem({ToQt(row.item), ToQt(row.value)});
        // A name the item column cuts shows whole under the pointer.
        item->setToolTip(0, item->text(0));
        items.append(item);
    }
    list->addTopLevelItems(items);
    if (rows.empty()) return;
    list->resizeColumnToContents(1);
    // The values are what is read: the names take only the room the values
    // leave, and never less than the column's own width.
    const int own = list->property(kItemWidth).toInt();
    list->resizeColumnToContents(0);
    const int room = list->viewport()->width() - list->columnWidth(1);
    list->setColumnWidth(0, std::max(own, std::min(list->columnWidth(0), room)));
}

std::vector<InfoRow> ShownRows(const QTreeWidget* list) {
    std::vector<InfoRow> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        rows.push_back({FromQt(item->text(0)), FromQt(item->text(1))});
    }
    return rows;
}

}  // namespace rvq::ui
