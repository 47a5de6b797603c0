#include "ui/pages/placeholder_page.h"

#include <QLabel>
#include <QVBoxLayout>

namespace rvq::ui {

PlaceholderPage::PlaceholderPage(const QString& title, const QString& notice, QWidget* parent)
    : PageView(parent) {
    auto* heading = new QLabel(title, this);
    QFont font = heading->font();
    font.setPointSizeF(font.pointSizeF() * 1.3);
    font.setBold(true);
    heading->setFont(font);
    auto* text = new QLabel(notice, this);
    text->setWordWrap(true);
    text->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(heading);
    layout->addSpacing(8);
    layout->addWidget(text);
    layout->addStretch(1);
}

}  // namespace rvq::ui
