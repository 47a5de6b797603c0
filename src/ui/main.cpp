// rvq-setting-tool: the desktop program of the R-VQ Setting Tool.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/file_locations.h"
#include "core/app/instance_lock.h"
#include "core/app/program_info.h"
#include "core/app/tool_settings_file.h"
#include "core/comm/port/printer_port.h"
#include "ui/command_line.h"
#include "ui/desktop_executor.h"
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

namespace {

// --help and --version: true when one of them was asked for and answered.
bool AnswerHelpOrVersion(const rvq::ui::DesktopCommandLine& line) {
    if (line.help) {
        std::cout << rvq::ui::DesktopHelpText();
        return true;
    }
    if (line.version) {
        std::cout << rvq::VersionLine("rvq-setting-tool") << "\nQt " << qVersion()
                  << " (built with " << QT_VERSION_STR << ")\n";
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace rvq;
    using namespace rvq::ui;
    // Answered before Qt needs a display; a line Qt must read first
    // (-platform ...) is answered below.
    if (const std::vector<std::string> given(argv + 1, argv + argc); AsksForHelpOrVersion(given)) {
        const DesktopCommandLine line = ParseDesktopCommandLine(given);
        if (line.error.empty() && AnswerHelpOrVersion(line)) return 0;
    }
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("VANTORA"));
    QCoreApplication::setApplicationName(QStringLiteral("R-VQ Setting Tool"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.vantora.RvqSettingTool"));
    // Qt has taken its own options out of argv by now.
    const std::vector<std::string> arguments(argv, argv + argc);
    const DesktopCommandLine line =
        ParseDesktopCommandLine(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
    if (!line.error.empty()) {
        std::cerr << UsageErrorText("rvq-setting-tool", line.error);
        return kUsageExitCode;
    }
    if (AnswerHelpOrVersion(line)) return 0;
    std::optional<QString> screenshotFolder;
    if (line.screenshotFolder) screenshotFolder = QString::fromStdString(*line.screenshotFolder);
    const bool reportStartup = line.startupTime;

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
    const FileLocations locations =
        ResolveFileLocations(LocationInputs::FromProcess(line.settings.value_or("")));
    if (const FirstStartResult first = PrepareUserSettings(locations);
        first.outcome == FirstStart::Failed) {
        std::cerr << "rvq-setting-tool: " << locations.iniPath
                  << ": the per-user settings could not be created: "
                  << std::strerror(first.systemError) << "\n";
    }
    const StartResult start = PrepareStart(
        context, document, interaction, locations,
        [&](const std::string& stored) { return Login(context.strings, interaction, stored); },
        [&app](bool japanese) {
            const std::string folder = QtTranslationsFolder();
            if (!InstallQtTranslations(app, japanese, folder)) {
                std::cerr
                    << "rvq-setting-tool: Qt's Japanese translations (qtbase_ja.qm) are not in "
                    << folder << "; standard buttons stay in English\n";
            }
        });
    if (!start.warning.empty()) std::cerr << "rvq-setting-tool: " << start.warning << "\n";
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
