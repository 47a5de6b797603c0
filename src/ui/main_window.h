#pragma once

#include <QMainWindow>
#include <array>
#include <map>
#include <memory>
#include <string>

#include "core/app/help_topics.h"
#include "core/app/navigation.h"
#include "core/pages/printer_page.h"

class QAction;
class QStackedWidget;
class QTimer;

namespace rvq {
class DownloadStore;
}

namespace rvq::ui {

struct UiServices;
class CategoryTabs;
class HeaderBand;
class NavBar;
class PageView;
class PrinterSettingPage;
struct ParameterPageSet;

// The one top-level window: header band, navigation bar, the page area
// and the menus.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(UiServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shows the window where the user left it, or at the default size.
    void ShowWithPlacement();

    // Shows a category; false when it was refused or the operator kept the
    // printer in its setting mode.
    bool SwitchCategory(Category target);
    // Settles the printer's setting mode before the parameter pages are
    // left, the program closes or the options open. False keeps things as
    // they are.
    bool LeaveSettingMode();
    void SetHeaderText(const std::string& text);
    // A parameter update changed the printer's own interface settings; the
    // next restore to online reconnects with them.
    void SetInterfaceChange(const std::string& settings);
    void ApplyMultiLanMode(bool on);

    Category currentCategory() const { return current_; }
    int tabOf(Category category) const { return tabs_[static_cast<std::size_t>(category)]; }
    PrinterSettingPage* printerPage() const { return printerPage_; }
    NavBar* navBar() const { return nav_; }
    HeaderBand* header() const { return header_; }
    CategoryTabs* categoryTabs(Category category) const {
        return categories_[static_cast<std::size_t>(category)];
    }
    QAction* action(int command) const;
    // The help section of the page shown.
    help::Topic helpTopic() const;
    PageView* visiblePage() const;
    DownloadStore& downloadStore() { return *downloads_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildPages();
    QAction* AddCommand(QMenu* menu, int command);
    void UpdateMenus();
    void OnMenuCommand(int command);
    void OnOptions();
    void OnAbout();
    void OnHelp();
    void OnServiceMode(ServiceMode requested);
    void ResetPages(const PageResets& resets);
    void SavePlacement();
    template <typename Fn>
    void ForEachPage(Fn fn);

    UiServices& services_;
    std::unique_ptr<DownloadStore> downloads_;
    Category current_ = Category::PrinterSetting;
    std::array<int, kCategoryCount> tabs_{};

    HeaderBand* header_ = nullptr;
    NavBar* nav_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    PrinterSettingPage* printerPage_ = nullptr;
    std::unique_ptr<ParameterPageSet> parameterPages_;
    std::array<CategoryTabs*, kCategoryCount> categories_{};
    std::map<int, QAction*> actions_;
    QTimer* jobWatch_ = nullptr;
};

}  // namespace rvq::ui
