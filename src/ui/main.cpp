// rvq-setting-tool: the desktop program of the R-VQ Setting Tool.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/instance_lock.h"
#include "core/app/tool_settings_file.h"
#include "core/comm/printer_port.h"
#include "core/platform/file_io.h"
#include "ui/file_dialogs.h"
#include "ui/help_key.h"
#include "ui/main_window.h"
#include "ui/message_box_interaction.h"
#include "ui/mlan_select_dialog.h"
#include "ui/password_dialogs.h"
#include "ui/progress_dialog.h"
#include "ui/qt_translations.h"
#include "ui/relaunch.h"
#include "ui/screenshots.h"
#include "ui/startup.h"
#include "ui/startup_report.h"
#include "ui/ui_services.h"
#include "ui/window_settings.h"

int main(int argc, char** argv) {
    using namespace rvq;
    using namespace rvq::ui;
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("VANTORA"));
    QCoreApplication::setApplicationName(QStringLiteral("R-VQ Setting Tool"));
    const std::vector<std::string> arguments(argv, argv + argc);
    std::optional<QString> screenshotFolder;
    bool reportStartup = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "--screenshot" && i + 1 < arguments.size())
            screenshotFolder = QString::fromStdString(arguments[i + 1]);
        if (arguments[i] == "--startup-time") reportStartup = true;
    }

    // One instance per machine; a second one ends without a word.
    auto lock = InstanceLock::TryAcquire();
    if (!lock) return 0;

    AppContext context;
    Document document;
    MessageBoxInteraction interaction(context.strings);
    // F1 opens the help on the section of the window or page in use, from
    // the login dialog on.
    HelpKey helpKey(context, interaction);
    app.installEventFilter(&helpKey);
    const std::string programFolder = CurrentDirectory();
    const StartResult start = PrepareStart(
        context, document, interaction, programFolder, DefaultIniPath(programFolder),
        [&](const std::string& stored) { return Login(context.strings, interaction, stored); },
        [&app](bool japanese) {
            const std::string folder = QtTranslationsFolder();
            if (!InstallQtTranslations(app, japanese, folder)) {
                std::cerr << "rvq-setting-tool: Qt's Japanese translations (qtbase_ja.qm) are not in "
                          << folder << "; standard buttons stay in English\n";
            }
        });
    if (start.outcome != StartOutcome::Ready) {
        if (!start.diagnostic.empty())
            std::cerr << "rvq-setting-tool: " << start.diagnostic << "\n";
        return 1;
    }

    QtFileDialogs files(context.strings);
    UiServices services{
        context, document, interaction, files, {}, {}, PrinterPort::EnumerateUsbDevices};
    services.runJob = [&services](QWidget* parent, std::shared_ptr<const JobInputs> inputs) {
        return RunJobDialog(services, parent, std::move(inputs));
    };
    services.pickPrinters = [&context](QWidget* parent, const std::vector<LanPrinter>& printers) {
        return PickPrintersWithDialog(context.strings, parent, printers);
    };
    MainWindow window(services);
    interaction.SetParent(&window);
    window.ShowWithPlacement();
    if (screenshotFolder) return TakeScreenshots(window, services, *screenshotFolder);
    if (reportStartup) return ReportStartup(window);

    const int code = QApplication::exec();
    // The user's choices would otherwise be lost without a word.
    if (const WriteResult saved = SaveToolSettings(context.settings, context.strings); !saved) {
        std::cerr << "rvq-setting-tool: " << context.settings.iniPath
                  << ": the settings could not be saved: " << std::strerror(saved.systemError)
                  << "\n";
    }
    if (context.restartRequested) {
        lock->Release();
        ClearWindowPlacement();
        if (!RelaunchSelf(arguments))
            std::cerr << "rvq-setting-tool: the program could not be started again\n";
    }
    if (context.jobRunning) {
        // A worker that ignored its cancel still uses the application
        // state; end without tearing it down under it.
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
