#include "ui/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTabWidget>
#include <iostream>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/interaction.h"
#include "core/comm/maintenance_inputs.h"
#include "core/comm/maintenance_operations.h"
#include "ui/category_tabs.h"
#include "ui/main_window.h"
#include "ui/pages/self_diagnosis_page.h"
#include "ui/progress_dialog.h"
#include "ui/ui_services.h"

namespace rvq::ui {

namespace {

class StderrInteraction : public Interaction {
public:
    bool Confirm(int id, const std::string& text) override {
        std::cerr << "question " << id << ": " << text << " -> No\n";
        return false;
    }
    void Error(int id, const std::string& text) override {
        std::cerr << "error " << id << ": " << text << "\n";
    }
    void Info(int id, const std::string& text) override {
        std::cerr << "notice " << id << ": " << text << "\n";
    }
};

// Lets the windows lay out and paint, and queued job events arrive.
void Settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Save(QWidget& widget, const QString& path) {
    const bool ok = widget.grab().save(path, "PNG");
    std::cerr << (ok ? "saved " : "could not save ") << path.toStdString() << "\n";
    return ok;
}

// The Self Diagnosis page after a Refresh, so its lists show what the
// printer reported.
bool SaveMaintenancePage(MainWindow& window, UiServices& shots, const QString& folder) {
    auto* diagnosis = window.findChild<SelfDiagnosisPage*>();
    if (diagnosis == nullptr || !window.SwitchCategory(Category::Maintenance)) return false;
    ProgressDialog dialog(shots, MakeDesktopExecutor(shots),
                          PrinterInfoJobInputs(static_cast<unsigned>(InfoSubKind::Refresh)),
                          &window);
    if (dialog.Begin()) {
        QElapsedTimer timer;
        timer.start();
        Settle(100);
        while (shots.context.jobRunning && timer.elapsed() < 20000) Settle(50);
        dialog.hide();
        diagnosis->ShowInformation();
    }
    Settle(200);
    const bool ok = Save(window, folder + QStringLiteral("/maintenance.png"));
    std::ignore = window.SwitchCategory(Category::PrinterSetting);
    return ok;
}

// One tab of a category as the user sees it after choosing it.
bool SaveTab(MainWindow& window, Category category, int tab, const QString& path) {
    if (!window.SwitchCategory(category)) return false;
    QTabWidget* tabs = window.categoryTabs(category)->tabWidget();
    tabs->setCurrentIndex(tab);
    Settle(200);
    const bool ok = Save(window, path);
    tabs->setCurrentIndex(0);
    std::ignore = window.SwitchCategory(Category::PrinterSetting);
    return ok;
}

}  // namespace

int TakeScreenshots(MainWindow& window, UiServices& services, const QString& folder) {
    StderrInteraction quiet;
    // Every printer of a Multi-LAN list takes part; no selection dialog.
    const PrinterPicker everyPrinter = [](QWidget*, const std::vector<LanPrinter>& printers) {
        return std::optional<std::vector<bool>>(std::vector<bool>(printers.size(), true));
    };
    UiServices shots{services.context, services.document,    quiet, services.files, services.runJob,
                     everyPrinter,     services.enumerateUsb};
    QDir().mkpath(folder);
    Settle(500);
    bool ok = Save(window, folder + QStringLiteral("/main-window.png"));
    if (window.SwitchCategory(Category::ParameterSetting)) {
        Settle(200);
        ok = Save(window, folder + QStringLiteral("/parameter-setting.png")) && ok;
        std::ignore = window.SwitchCategory(Category::PrinterSetting);
    }

    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::GetParameter;
    ProgressDialog dialog(shots, MakeDesktopExecutor(shots), inputs, &window);
    if (dialog.Begin()) {
        dialog.show();
        QElapsedTimer timer;
        timer.start();
        while (!dialog.loggingButton()->isVisible() && timer.elapsed() < 10000) Settle(50);
        Settle(300);
        ok = Save(dialog, folder + QStringLiteral("/progress-dialog.png")) && ok;
        while (services.context.jobRunning && timer.elapsed() < 20000) Settle(50);
    }
    ok = SaveMaintenancePage(window, shots, folder) && ok;
    ok = SaveTab(window, Category::Maintenance, 1, folder + QStringLiteral("/memory-management.png")) && ok;
    ok = SaveTab(window, Category::Tool, 0, folder + QStringLiteral("/tool.png")) && ok;
    ok = SaveTab(window, Category::Tool, 2, folder + QStringLiteral("/test-print.png")) && ok;
    return ok ? 0 : 1;
}

}  // namespace rvq::ui
