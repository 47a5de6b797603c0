#include "ui/category_tabs.h"

#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/page_view.h"
#include "ui/scrolling_frame.h"

namespace rvq::ui {

CategoryTabs::CategoryTabs(QWidget* parent) : QWidget(parent) {
    tabs_ = new QTabWidget(this);
    tabs_->setDocumentMode(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(tabs_);
    connect(tabs_, &QTabWidget::currentChanged, this, &CategoryTabs::tabChosen);
}

void CategoryTabs::AddPage(PageView* page, const QString& label) {
    const QSignalBlocker blocker(tabs_);
    tabs_->addTab(ScrollingFrame(page), label);
    pages_.push_back(page);
}

PageView* CategoryTabs::currentPage() const {
    const int index = tabs_->currentIndex();
    return index < 0 ? nullptr : pages_.at(static_cast<std::size_t>(index));
}

int CategoryTabs::currentIndex() const { return tabs_->currentIndex(); }

void CategoryTabs::SetCurrentIndex(int index) {
    const QSignalBlocker blocker(tabs_);
    tabs_->setCurrentIndex(index);
}

}  // namespace rvq::ui
