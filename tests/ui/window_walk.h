#pragma once

#include <QApplication>
#include <QComboBox>
#include <QList>
#include <QString>
#include <QWidget>
#include <functional>

#include "core/app/navigation.h"
#include "ui/category_tabs.h"
#include "ui/main_window.h"
#include "ui/pages/printer_setting_page.h"
#include "ui_fixture.h"

namespace rvq::test {

// The widgets under `root` a user can see now.
inline QList<QWidget*> VisibleWidgets(QWidget& root) {
    QList<QWidget*> shown;
    for (QWidget* w : root.findChildren<QWidget*>())
        if (w->isVisible()) shown.append(w);
    return shown;
}

// Lets the layouts settle after a page or a size changed.
inline void SettleLayout() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// Shows every page of the window in turn: the printer setting page with
// each connection's controls, then every tab of every other category.
// `visit` gets the page's name for messages.
inline void ForEveryPage(ui::MainWindow& window, const std::function<void(const QString&)>& visit) {
    QComboBox* interfaces = window.printerPage()->interfaceCombo();
    const QString before = interfaces->currentText();
    for (const char* name : {"USB", "LAN", "Multi LAN", "COM"}) {
        ChooseEntry(interfaces, QString::fromLatin1(name));
        SettleLayout();
        visit(QStringLiteral("Printer Setting (%1)").arg(QLatin1String(name)));
    }
    ChooseEntry(interfaces, before);
    for (int c = 1; c < kCategoryCount; ++c) {
        const auto category = static_cast<Category>(c);
        if (!window.SwitchCategory(category)) qFatal("category %d refused", c);
        ui::CategoryTabs* tabs = window.categoryTabs(category);
        for (int t = 0; t < static_cast<int>(tabs->pages().size()); ++t) {
            tabs->SetCurrentIndex(t);
            SettleLayout();
            visit(tabs->tabWidget()->tabText(t));
        }
        tabs->SetCurrentIndex(0);
    }
    std::ignore = window.SwitchCategory(Category::PrinterSetting);
    SettleLayout();
}

}  // namespace rvq::test
