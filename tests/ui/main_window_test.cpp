#include <QAction>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include "core/app/window_placement.h"
#include "ui/category_tabs.h"
#include "ui/main_window.h"
#include "ui/nav_bar.h"
#include "ui/page_view.h"
#include "ui/pages/printer_setting_page.h"
#include "ui/window_settings.h"
#include "ui_fixture.h"

namespace rvq::test {

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    static void ClickCategory(ui::MainWindow& window, Category category) {
        QTest::mouseClick(window.navBar()->button(category), Qt::LeftButton);
    }

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName(QStringLiteral("VANTORA"));
        QCoreApplication::setApplicationName(QStringLiteral("R-VQ Setting Tool"));
    }

    void switchingCategoriesRemembersTheTab() {
        UiFixture f;
        ui::MainWindow window(f.services);
        window.show();
        QCOMPARE(window.currentCategory(), Category::PrinterSetting);
        QVERIFY(!window.action(command::kImport)->isEnabled());

        ClickCategory(window, Category::ParameterSetting);
        QCOMPARE(window.currentCategory(), Category::ParameterSetting);
        QVERIFY(window.action(command::kImport)->isEnabled());
        QTabBar* bar = window.categoryTabs(Category::ParameterSetting)->tabWidget()->tabBar();
        QCOMPARE(bar->tabText(5), QStringLiteral("WLAN (2)"));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(5).center());

        ClickCategory(window, Category::Maintenance);
        QCOMPARE(window.currentCategory(), Category::Maintenance);
        QVERIFY(!window.action(command::kImport)->isEnabled());
        QVERIFY(window.action(command::kRestoreDisplay)->isEnabled());
        QVERIFY(!window.navBar()->button(Category::ParameterSetting)->isChecked());

        ClickCategory(window, Category::ParameterSetting);
        QCOMPARE(window.tabOf(Category::ParameterSetting), 5);
        QCOMPARE(window.visiblePage(), window.categoryTabs(Category::ParameterSetting)->page(5));

        // The button of the category already shown changes nothing.
        ClickCategory(window, Category::ParameterSetting);
        QCOMPARE(window.currentCategory(), Category::ParameterSetting);
        QVERIFY(window.navBar()->button(Category::ParameterSetting)->isChecked());
        QVERIFY(f.interaction.ids().empty());
        QVERIFY(f.launched.empty());
    }

    void parallelPortRefusesThePagesThatNeedReplies() {
        UiFixture f;
        f.context.settings.interfaceName = "LPT2";
        ui::MainWindow window(f.services);
        window.show();

        ClickCategory(window, Category::ParameterSetting);
        QCOMPARE(window.currentCategory(), Category::PrinterSetting);
        QCOMPARE(f.interaction.ids(), std::vector<int>{970});
        QVERIFY(!window.navBar()->button(Category::ParameterSetting)->isChecked());
        QVERIFY(window.navBar()->button(Category::PrinterSetting)->isChecked());

        ClickCategory(window, Category::Download);
        QCOMPARE(window.currentCategory(), Category::Download);
        ClickCategory(window, Category::Tool);
        QCOMPARE(window.currentCategory(), Category::Tool);
        ClickCategory(window, Category::Maintenance);
        QCOMPARE(window.currentCategory(), Category::Tool);
        QCOMPARE(f.interaction.ids(), (std::vector<int>{970, 970}));
    }

    void refusedRestartKeepsTheCategoryAndTheWindow() {
        UiFixture f;
        ui::MainWindow window(f.services);
        window.show();
        ClickCategory(window, Category::ParameterSetting);
        f.context.settingModeState = SettingModeState::AfterChange;

        ClickCategory(window, Category::Download);  // answered No
        QCOMPARE(window.currentCategory(), Category::ParameterSetting);
        QCOMPARE(f.interaction.ids(), std::vector<int>{428});
        QVERIFY(f.launched.empty());

        QVERIFY(!window.close());  // answered No again
        QVERIFY(window.isVisible());
        QVERIFY(f.launched.empty());

        f.interaction.Answer(true);
        QVERIFY(window.close());
        QCOMPARE(f.launched.size(), std::size_t{1});
        QCOMPARE(f.launched.front()->kind, JobKind::RestoreOnline);
        QCOMPARE(f.interaction.ids(), (std::vector<int>{428, 428, 428}));
        // The placement was kept for the next start.
        QVERIFY(
            ParseWindowPlacement(QSettings().value(ui::kPlacementKey).toString().toStdString()));
    }

    void leavingAfterAReadRestoresWithoutAsking() {
        UiFixture f;
        ui::MainWindow window(f.services);
        window.show();
        ClickCategory(window, Category::ParameterSetting);
        f.context.settingModeState = SettingModeState::AfterRead;
        window.SetInterfaceChange("19200,E,7,2");
        f.context.settings.interfaceName = "COM2";

        ClickCategory(window, Category::Download);
        QCOMPARE(window.currentCategory(), Category::Download);
        QVERIFY(f.interaction.ids().empty());
        QCOMPARE(f.launched.size(), std::size_t{1});
        QCOMPARE(f.launched.front()->kind, JobKind::RestoreOnline);
        QCOMPARE(f.launched.front()->reconnectSettings, std::string("19200,E,7,2"));
        // The printer's new serial settings reach the tool settings and the page.
        QCOMPARE(f.context.settings.baudRate, std::string("19200"));
        QCOMPARE(f.context.settings.parity, std::string("Even"));
        QCOMPARE(window.printerPage()->values().baud, std::string("19200 bps"));
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::MainWindowTest)
#include "main_window_test.moc"
