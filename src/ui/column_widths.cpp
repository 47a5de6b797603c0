#include "ui/column_widths.h"

#include <QHeaderView>
#include <algorithm>

namespace rvq::ui {

void SetColumnWidths(QHeaderView* header, std::initializer_list<int> widths) {
    int column = 0;
    for (const int width : widths) {
        header->resizeSection(column, std::max(width, header->sectionSizeHint(column)));
        ++column;
    }
}

}  // namespace rvq::ui
