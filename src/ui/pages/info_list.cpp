#include "ui/pages/info_list.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>

#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kItemColumn = 582;
constexpr int kValueColumn = 583;

}  // namespace

QTreeWidget* MakeInfoList(const Strings& strings, bool isJapanese, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setColumnCount(2);
    list->setHeaderLabels({Text(strings, kItemColumn), Text(strings, kValueColumn)});
    list->setRootIsDecorated(false);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setUniformRowHeights(true);
    list->header()->setStretchLastSection(false);
    list->setColumnWidth(0, isJapanese ? 108 : 100);
    list->setColumnWidth(1, isJapanese ? 82 : 70);
    return list;
}

void ShowRows(QTreeWidget* list, const std::vector<InfoRow>& rows) {
    list->clear();
    QList<QTreeWidgetItem*> items;
    for (const InfoRow& row : rows) items.append(new QTreeWidgetItem({ToQt(row.item), ToQt(row.value)}));
    list->addTopLevelItems(items);
    if (rows.empty()) return;
    // Long item names would be cut off at the initial width.
    const int itemWidth = list->columnWidth(0);
    list->resizeColumnToContents(0);
    list->setColumnWidth(0, std::max(itemWidth, list->columnWidth(0)));
    list->resizeColumnToContents(1);
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
