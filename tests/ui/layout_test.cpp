#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <map>
#include <memory>
#include <set>

#include "core/app/app_context.h"
#include "core/app/window_placement.h"
#include "text_fit.h"
#include "ui/category_tabs.h"
#include "ui/environment_dialog.h"
#include "ui/main_window.h"
#include "ui/mlan_select_dialog.h"
#include "ui/nav_bar.h"
#include "ui/pages/parameter_page.h"
#include "ui/pages/printer_setting_page.h"
#include "ui/password_dialogs.h"
#include "ui_fixture.h"
#include "window_walk.h"

namespace rvq::test {

namespace {

constexpr int kGeneral = 0;
constexpr int kGeneral2 = 1;
constexpr int kWlan = 4;

// The fixture in English or Japanese, with a Multi-LAN list so its table
// has rows.
void Prepare(UiFixture& f, bool japanese) {
    if (japanese) f.UseJapanese();
    f.context.settings.multiLanHosts = {"127.0.0.1", "127.0.0.2"};
    f.context.settings.multiLanPorts = {8000, 65535};
}

QSize DefaultSize(const UiFixture& f) {
    const WindowSize size = DefaultWindowSize(f.context.isJapanese);
    return {size.width, size.height};
}

void ShowAt(QWidget& window, const QSize& size) {
    window.resize(size);
    window.show();
    SettleLayout();
}

QString Joined(const QStringList& lines) { return lines.join(QStringLiteral("\n  ")); }

ui::ParameterPage& ParameterTab(ui::MainWindow& window, int tab) {
    if (!window.SwitchCategory(Category::ParameterSetting)) qFatal("no parameter pages");
    ui::CategoryTabs* tabs = window.categoryTabs(Category::ParameterSetting);
    tabs->SetCurrentIndex(tab);
    SettleLayout();
    return *static_cast<ui::ParameterPage*>(tabs->page(tab));
}

}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName(QStringLiteral("VANTORA"));
        QCoreApplication::setApplicationName(QStringLiteral("R-VQ Setting Tool"));
    }

    void languages_data() {
        QTest::addColumn<bool>("japanese");
        QTest::newRow("English") << false;
        QTest::newRow("Japanese") << true;
    }

    // Every page at the default size and at the smallest the window allows:
    // nothing cut, nothing squeezed (a small window scrolls instead).
    void everyPageShowsItsTextsWhole_data() { languages_data(); }
    void everyPageShowsItsTextsWhole() {
        QFETCH(bool, japanese);
        UiFixture f;
        Prepare(f, japanese);
        ui::MainWindow window(f.services);
        for (const QSize size : {DefaultSize(f), window.minimumSize()}) {
            ShowAt(window, size);
            QCOMPARE(window.size(), size);
            QStringList cut;
            ForEveryPage(window, [&](const QString& page) {
                for (const QString& line : CutTexts(window))
                    cut.append(QStringLiteral("%1x%2 %3: %4")
                                   .arg(size.width())
                                   .arg(size.height())
                                   .arg(page, line));
            });
            cut.removeDuplicates();
            QVERIFY2(cut.isEmpty(), qPrintable(Joined(cut)));
        }
    }

    void dialogsShowTheirTextsWhole_data() { languages_data(); }
    void dialogsShowTheirTextsWhole() {
        QFETCH(bool, japanese);
        UiFixture f;
        Prepare(f, japanese);
        f.context.settings.controlCodeType = "Manual";
        std::vector<std::unique_ptr<QWidget>> dialogs;
        dialogs.push_back(
            std::make_unique<ui::EnvironmentDialog>(f.services, std::function<void()>{}));
        dialogs.push_back(
            std::make_unique<ui::PasswordChangeDialog>(f.context.strings, f.interaction, ""));
        dialogs.push_back(std::make_unique<ui::LoginDialog>(f.context.strings, f.interaction, "x"));
        dialogs.push_back(std::make_unique<ui::MLanSelectDialog>(
            f.context.strings,
            std::vector<LanPrinter>{{"127.0.0.1", 8000}, {"printer 12", 65535}}));
        for (auto& dialog : dialogs) {
            dialog->show();
            SettleLayout();
            const QStringList cut = CutTexts(*dialog);
            QVERIFY2(cut.isEmpty(),
                     qPrintable(dialog->windowTitle() + QStringLiteral(":\n  ") + Joined(cut)));
        }
    }

    // The busiest parameter pages need no scrolling at the default size.
    void busiestPagesFitTheDefaultSize_data() { languages_data(); }
    void busiestPagesFitTheDefaultSize() {
        QFETCH(bool, japanese);
        UiFixture f;
        Prepare(f, japanese);
        ui::MainWindow window(f.services);
        ShowAt(window, DefaultSize(f));
        for (const int tab : {kGeneral, kGeneral2, kWlan}) {
            ui::ParameterPage& page = ParameterTab(window, tab);
            auto* scroll = page.findChild<QScrollArea*>();
            QVERIFY(scroll != nullptr);
            QVERIFY2(scroll->verticalScrollBar()->maximum() == 0,
                     qPrintable(QStringLiteral("tab %1 scrolls by %2 px")
                                    .arg(tab)
                                    .arg(scroll->verticalScrollBar()->maximum())));
            QCOMPARE(scroll->horizontalScrollBar()->maximum(), 0);
        }
    }

    // However wide the window, a unit stays beside its field and the fields
    // of all groups of a page start at the same place; a wide window takes
    // more columns of groups.
    void unitsAndColumnsLineUpAtEveryWidth_data() { languages_data(); }
    void unitsAndColumnsLineUpAtEveryWidth() {
        QFETCH(bool, japanese);
        UiFixture f;
        Prepare(f, japanese);
        ui::MainWindow window(f.services);
        std::map<int, int> columnsAt;  // of the General page, by window width
        for (const int width : {DefaultSize(f).width(), 1600, 2400}) {
            ShowAt(window, QSize(width, 900));
            for (int tab = 0; tab < 7; ++tab) {
                ui::ParameterPage& page = ParameterTab(window, tab);
                const QString where = QStringLiteral("width %1, tab %2").arg(width).arg(tab);
                if (tab == kGeneral) columnsAt[width] = page.columnCount();
                // Frames side by side are columns; within one the fields line up.
                std::map<int, int> fieldsStart;  // by the frame's x
                for (QWidget* field : page.findChildren<QWidget*>(
                         QRegularExpression(QStringLiteral("^ctrl\\d+$")))) {
                    QWidget* cell = field->parentWidget();
                    const int column = cell->parentWidget()->x();
                    const auto [start, first] = fieldsStart.emplace(column, cell->x());
                    QVERIFY2(
                        first || cell->x() == start->second,
                        qPrintable(QStringLiteral("%1: %2 starts at %3, others of its column at %4")
                                       .arg(where, field->objectName())
                                       .arg(cell->x())
                                       .arg(start->second)));
                }
                QCOMPARE(static_cast<int>(fieldsStart.size()), page.columnCount());
                for (QLabel* unit :
                     page.findChildren<QLabel*>(QRegularExpression(QStringLiteral("^unit\\d+$")))) {
                    int fieldEnd = 0;
                    for (QWidget* sibling : unit->parentWidget()->findChildren<QWidget*>(
                             QString(), Qt::FindDirectChildrenOnly)) {
                        if (sibling != unit)
                            fieldEnd = std::max(fieldEnd, sibling->geometry().right());
                    }
                    const int gap = unit->x() - fieldEnd;
                    QVERIFY2(gap > 0 && gap <= 12,
                             qPrintable(QStringLiteral("%1: \"%2\" is %3 px from its field")
                                            .arg(where, unit->text())
                                            .arg(gap)));
                }
            }
        }
        QVERIFY(columnsAt[1600] > columnsAt[DefaultSize(f).width()]);
        QVERIFY(columnsAt[2400] > columnsAt[1600]);
    }

    // The fields of the printer setting page's forms (model, interface and
    // each connection's own) start at the same place.
    void printerPageFieldsLineUp_data() { languages_data(); }
    void printerPageFieldsLineUp() {
        QFETCH(bool, japanese);
        UiFixture f;
        Prepare(f, japanese);
        ui::MainWindow window(f.services);
        ShowAt(window, DefaultSize(f));
        ui::PrinterSettingPage* page = window.printerPage();
        ForEveryPage(window, [&](const QString& name) {
            if (!page->isVisible()) return;
            std::set<int> starts;
            for (QFormLayout* form : page->findChildren<QFormLayout*>()) {
                for (int row = 0; row < form->rowCount(); ++row) {
                    QLayoutItem* field = form->itemAt(row, QFormLayout::FieldRole);
                    if (field && field->widget() && field->widget()->isVisible())
                        starts.insert(field->widget()->mapTo(page, QPoint(0, 0)).x());
                }
            }
            QVERIFY2(
                starts.size() == 1,
                qPrintable(
                    QStringLiteral("%1: fields start at %2 places").arg(name).arg(starts.size())));
        });
    }

    // At the smallest window the category buttons keep their pictures
    // above their labels and the bar scrolls to the ones below.
    void navigationBarScrollsInASmallWindow() {
        UiFixture f;
        ui::MainWindow window(f.services);
        ShowAt(window, window.minimumSize());
        ui::NavBar* nav = window.navBar();
        QVERIFY(nav->scrollArea()->verticalScrollBar()->maximum() > 0);
        for (int c = 0; c < kCategoryCount; ++c) {
            QToolButton* button = nav->button(static_cast<Category>(c));
            QVERIFY(button->height() >= button->sizeHint().height());
        }
        nav->scrollArea()->ensureWidgetVisible(nav->button(Category::Tool));
        SettleLayout();
        QTest::mouseClick(nav->button(Category::Tool), Qt::LeftButton);
        QCOMPARE(window.currentCategory(), Category::Tool);
    }
};

}  // namespace rvq::test

QTEST_MAIN(rvq::test::LayoutTest)
#include "layout_test.moc"
