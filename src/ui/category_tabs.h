#pragma once

#include <QWidget>
#include <vector>

class QTabWidget;

namespace rvq::ui {

class PageView;

// The pages of one category under a row of tabs.
class CategoryTabs : public QWidget {
    Q_OBJECT
public:
    explicit CategoryTabs(QWidget* parent = nullptr);

    void AddPage(PageView* page, const QString& label);
    PageView* page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    const std::vector<PageView*>& pages() const { return pages_; }
    PageView* currentPage() const;
    int currentIndex() const;
    void SetCurrentIndex(int index);
    QTabWidget* tabWidget() const { return tabs_; }

signals:
    void tabChosen(int index);

private:
    QTabWidget* tabs_;
    std::vector<PageView*> pages_;
};

}  // namespace rvq::ui
