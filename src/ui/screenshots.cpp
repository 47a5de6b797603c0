#include "ui/screenshots.h"

#include <QApplication>
#include <QComboBox>
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
#include "core/app/string_ids.h"
#include "core/app/window_placement.h"
#include "core/comm/ops/maintenance_inputs.h"
#include "core/comm/ops/maintenance_operations.h"
#include "ui/category_tabs.h"
#include "ui/desktop_executor.h"
#include "ui/environment_dialog.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/message_box_interaction.h"
#include "ui/mlan_select_dialog.h"
#include "ui/page_view.h"
#include "ui/pages/firmware_page.h"
#include "ui/pages/html_rom_page.h"
#include "ui/pages/multi_lan_box.h"
#include "ui/pages/printer_setting_page.h"
#include "ui/pages/self_diagnosis_page.h"
#include "ui/password_dialogs.h"
#include "ui/progress_dialog.h"
#include "ui/rom_page_samples.h"
#include "ui/ui_services.h"
#include "ui/ui_text.h"

namespace rvq::ui {

namespace {

constexpr int kFirmwareTab = 0;
constexpr int kHtmlRomTab = 2;
// The program's default window size.
constexpr int kPageShotWidth = 910;
constexpr int kPageShotHeight = 740;

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
bool SaveMaintenancePage(MainWindow& window, UiServices& shots, const QString& folder,
                         const QString& file = QStringLiteral("/maintenance.png")) {
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
    const bool ok = Save(window, folder + file);
    std::ignore = window.SwitchCategory(Category::PrinterSetting);
    return ok;
}

// The Multi-LAN list the pictures show: the settings' list, or three
// loopback addresses (the printer selection's picture always has those).
std::vector<LanPrinter> ScreenshotList(const ToolSettings& settings) {
    std::vector<LanPrinter> list;
    for (std::size_t i = 0; i < settings.multiLanHosts.size() && i < settings.multiLanPorts.size();
         ++i)
        list.push_back({settings.multiLanHosts[i], settings.multiLanPorts[i]});
    if (list.empty()) list = {{"127.0.0.2", 8000}, {"127.0.0.3", 8000}, {"127.0.0.4", 8000}};
    return list;
}

// A dialog as it opens, then closed again.
bool SaveDialog(QDialog& dialog, const QString& path) {
    dialog.show();
    Settle(200);
    const bool ok = Save(dialog, path);
    dialog.reject();
    return ok;
}

// The manual's pictures: every page of the main window at the default
// size, the dialogs and the help window, under the names the manual uses.
bool SaveManualPictures(MainWindow& window, UiServices& shots, const QString& folder) {
    QDir().mkpath(folder);
    const QSize before = window.size();
    window.resize(kPageShotWidth, kPageShotHeight);
    Settle(200);
    bool ok = Save(window, folder + QStringLiteral("/printer-setting.png"));
    struct PageShot {
        Category category;
        int tab;
        const char* file;
        bool tickGroups;
    };
    const PageShot pages[] = {
        {Category::ParameterSetting, 0, "parameter-general", true},
        {Category::ParameterSetting, 1, "parameter-general-2", true},
        {Category::ParameterSetting, 2, "parameter-device", true},
        {Category::ParameterSetting, 3, "parameter-lan", true},
        {Category::ParameterSetting, 4, "parameter-wlan", true},
        {Category::ParameterSetting, 5, "parameter-wlan-2", true},
        {Category::ParameterSetting, 6, "parameter-rfid", true},
        {Category::Maintenance, 1, "memory-management", false},
        {Category::Download, 1, "basic-download", false},
        {Category::Tool, 0, "tool", false},
        {Category::Tool, 1, "external-character", false},
        {Category::Tool, 2, "test-print", false},
    };
    for (const PageShot& page : pages) {
        if (!window.SwitchCategory(page.category)) {
            ok = false;
            continue;
        }
        CategoryTabs* tabs = window.categoryTabs(page.category);
        tabs->SetCurrentIndex(page.tab);
        if (page.tickGroups)
            std::ignore = tabs->currentPage()->HandleCommand(command::kEnableAllInTab);
        Settle(200);
        ok = Save(window,
                  folder + QLatin1Char('/') + QLatin1String(page.file) + QStringLiteral(".png")) &&
             ok;
        if (page.tickGroups)
            std::ignore = tabs->currentPage()->HandleCommand(command::kDisableAllInTab);
        tabs->SetCurrentIndex(0);
    }
    std::ignore = window.SwitchCategory(Category::PrinterSetting);
    ok = SaveRomPages(window, shots, folder) && ok;
    ok = SaveMaintenancePage(window, shots, folder, QStringLiteral("/self-diagnosis.png")) && ok;

    const Strings& strings = shots.context.strings;
    EnvironmentDialog environment(
        shots, [] {}, &window);
    ok = SaveDialog(environment, folder + QStringLiteral("/environment-dialog.png")) && ok;
    PasswordChangeDialog password(strings, shots.interaction, std::string(), &window);
    ok = SaveDialog(password, folder + QStringLiteral("/password-change-dialog.png")) && ok;
    LoginDialog login(strings, shots.interaction, std::string(), &window);
    ok = SaveDialog(login, folder + QStringLiteral("/login-dialog.png")) && ok;

    // The Multi-LAN list with loopback printers (the settings' own list when
    // they have one) after a Check Status; the page is put back after.
    PrinterSettingPage* printerPage = window.printerPage();
    const std::vector<LanPrinter> list = ScreenshotList(shots.context.settings);
    const std::vector<LanPrinter> kept = printerPage->multiLanBox()->printers();
    const QString keptInterface = printerPage->interfaceCombo()->currentText();
    auto chooseInterface = [printerPage](const QString& name) {
        QComboBox* combo = printerPage->interfaceCombo();
        combo->setCurrentIndex(combo->findText(name));
        emit combo->activated(combo->currentIndex());
    };
    printerPage->multiLanBox()->SetPrinters(list);
    chooseInterface(ToQt(NameOf(InterfaceKind::MultiLan)));
    Settle(200);
    MultiLanBox* box = printerPage->multiLanBox();
    box->checkButton()->click();
    QElapsedTimer checkTimer;
    checkTimer.start();
    while (box->checking() && checkTimer.elapsed() < 20000) Settle(50);
    Settle(200);
    ok = Save(window, folder + QStringLiteral("/printer-setting-multi-lan.png")) && ok;
    MLanSelectDialog select(strings, ScreenshotList(ToolSettings{}), &window);
    ok = SaveDialog(select, folder + QStringLiteral("/printer-list-dialog.png")) && ok;
    printerPage->multiLanBox()->SetPrinters(kept);
    chooseInterface(keptInterface);

    // The help window on a page of its own, for the manual and its readers.
    if (HelpWindow* help = ShowHelp(shots.context, shots.interaction, &window,
                                    *help::PageTopic(sid::kFirmwareTab))) {
        Settle(300);
        ok = Save(*help, folder + QStringLiteral("/help-window.png")) && ok;
        // And a search of the manual, beside the manual's pictures.
        help->Search(ToQt(shots.context.strings.Get(sid::kFirmwareTab)));
        Settle(300);
        ok = Save(*help, folder + QStringLiteral("/../help-window-search.png")) && ok;
        help->close();
    } else {
        ok = false;
    }
    window.resize(before);
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
    QDir().mkpath(folder + QStringLiteral("/manual"));
    Settle(500);
    bool ok = Save(window, folder + QStringLiteral("/main-window.png"));
    {
        // A question, with the standard buttons in the interface's language.
        const Strings& strings = services.context.strings;
        const auto box = MakeMessageBox(BoxKind::Question, strings, sid::kMsgModelChange,
                                        strings.Get(sid::kMsgModelChange), &window);
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
        const std::pair<int, const char*> shots[] = {
            {1, "/parameter-general-2.png"}, {3, "/parameter-lan.png"}, {4, "/parameter-wlan.png"}};
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
    ok = SavePage(window, Category::Download, 1, folder + QStringLiteral("/basic-download.png")) &&
         ok;
    ok = SavePage(window, Category::Tool, 1, folder + QStringLiteral("/external-character.png")) &&
         ok;
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
        ok = Save(dialog, folder + QStringLiteral("/manual/progress-dialog.png")) && ok;
        while (services.context.jobRunning && timer.elapsed() < 20000) Settle(50);
    }
    ok = SaveMaintenancePage(window, shots, folder) && ok;
    ok = SavePage(window, Category::Maintenance, 1,
                  folder + QStringLiteral("/memory-management.png")) &&
         ok;
    ok = SavePage(window, Category::Tool, 0, folder + QStringLiteral("/tool.png")) && ok;
    ok = SavePage(window, Category::Tool, 2, folder + QStringLiteral("/test-print.png")) && ok;
    ok = SaveManualPictures(window, shots, folder + QStringLiteral("/manual")) && ok;
    return ok ? 0 : 1;
}

}  // namespace rvq::ui
