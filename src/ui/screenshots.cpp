#include "ui/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <iostream>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/interaction.h"
#include "core/app/navigation.h"
#include "core/app/window_placement.h"
#include "core/comm/maintenance_inputs.h"
#include "core/comm/maintenance_operations.h"
#include "ui/category_tabs.h"
#include "ui/main_window.h"
#include "ui/message_box_interaction.h"
#include "ui/page_view.h"
#include "ui/pages/firmware_page.h"
#include "ui/pages/html_rom_page.h"
#include "ui/pages/self_diagnosis_page.h"
#include "ui/progress_dialog.h"
#include "ui/rom_page_samples.h"
#include "ui/ui_services.h"

namespace rvq::ui {

namespace {

constexpr int kFirmwareTab = 0;
constexpr int kHtmlRomTab = 2;
constexpr int kMsgModelChange = 427;

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

// One page of a category's tabs; the window returns to the printer page.
bool SavePage(MainWindow& window, Category category, int tab, const QString& path) {
    if (!window.SwitchCategory(category)) return false;
    window.categoryTabs(category)->SetCurrentIndex(tab);
    Settle(200);
    const bool ok = Save(window, path);
    window.categoryTabs(category)->SetCurrentIndex(0);
    std::ignore = window.SwitchCategory(Category::PrinterSetting);
    return ok;
}

// The firmware and HTML/XML ROM pages with example files listed; both are
// emptied again afterwards.
bool SaveRomPages(MainWindow& window, UiServices& services, const QString& folder) {
    if (!window.SwitchCategory(Category::Download)) return true;
    CategoryTabs* tabs = window.categoryTabs(Category::Download);
    auto* firmware = dynamic_cast<FirmwarePage*>(tabs->page(kFirmwareTab));
    auto* html = dynamic_cast<HtmlRomPage*>(tabs->page(kHtmlRomTab));
    bool ok = true;
    RomPageSamples samples;
    if (firmware && html &&
        samples.Fill(*html, *firmware, services.context.settings.printerModel)) {
        tabs->SetCurrentIndex(kHtmlRomTab);
        Settle(200);
        ok = Save(window, folder + QStringLiteral("/html-xml-rom.png"));
        tabs->SetCurrentIndex(kFirmwareTab);
        Settle(200);
        ok = Save(window, folder + QStringLiteral("/firmware-download.png")) && ok;
        html->ResetHtmlRomPage();
        firmware->ClearRomList();
    }
    std::ignore = window.SwitchCategory(Category::PrinterSetting);
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
    {
        // A question, with the standard buttons in the interface's language.
        const Strings& strings = services.context.strings;
        const auto box = MakeMessageBox(BoxKind::Question, strings, kMsgModelChange,
                                        strings.Get(kMsgModelChange), &window);
        box->show();
        Settle(200);
        ok = Save(*box, folder + QStringLiteral("/message-box.png")) && ok;
    }
    if (window.SwitchCategory(Category::ParameterSetting)) {
        Settle(200);
        ok = Save(window, folder + QStringLiteral("/parameter-setting.png")) && ok;
        // Parameter tabs with their groups ticked, as a user edits them, at
        // the default window size.
        CategoryTabs* tabs = window.categoryTabs(Category::ParameterSetting);
        const QSize before = window.size();
        const WindowSize size = DefaultWindowSize(services.context.isJapanese);
        window.resize(size.width, size.height);
        const std::pair<int, const char*> shots[] = {{1, "/parameter-general-2.png"},
                                                     {2, "/parameter-device.png"},
                                                     {3, "/parameter-lan.png"},
                                                     {4, "/parameter-wlan.png"}};
        for (const auto& [tab, file] : shots) {
            tabs->SetCurrentIndex(tab);
            std::ignore = tabs->currentPage()->HandleCommand(command::kEnableAllInTab);
            Settle(200);
            ok = Save(window, folder + QString::fromLatin1(file)) && ok;
            std::ignore = tabs->currentPage()->HandleCommand(command::kDisableAllInTab);
        }
        tabs->SetCurrentIndex(0);
        window.resize(before);
        std::ignore = window.SwitchCategory(Category::PrinterSetting);
    }
    ok = SavePage(window, Category::Download, 1, folder + QStringLiteral("/basic-download.png")) && ok;
    ok = SavePage(window, Category::Tool, 1, folder + QStringLiteral("/external-character.png")) && ok;
    ok = SaveRomPages(window, services, folder) && ok;

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
    ok = SavePage(window, Category::Maintenance, 1, folder + QStringLiteral("/memory-management.png")) && ok;
    ok = SavePage(window, Category::Tool, 0, folder + QStringLiteral("/tool.png")) && ok;
    ok = SavePage(window, Category::Tool, 2, folder + QStringLiteral("/test-print.png")) && ok;
    return ok ? 0 : 1;
}

}  // namespace rvq::ui
