#include "ui/form_labels.h"

#include <QFormLayout>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace rvq::ui {

void AlignFormLabels(QWidget* root) {
    std::vector<QWidget*> labels;
    for (QFormLayout* form : root->findChildren<QFormLayout*>()) {
        for (int row = 0; row < form->rowCount(); ++row) {
            if (QLayoutItem* item = form->itemAt(row, QFormLayout::LabelRole);
                item && item->widget())
                labels.push_back(item->widget());
        }
    }
    int width = 0;
    for (const QWidget* label : labels) width = std::max(width, label->sizeHint().width());
    for (QWidget* label : labels) label->setMinimumWidth(width);
}

}  // namespace rvq::ui
