// The desktop program's Multi-LAN Get Parameter over 50 simulated printers,
// run through its progress dialog (offscreen): how long the event loop
// ever went without turning, and whether each printer's lines arrive in
// order. Prints "name|value|unit|target|limit" lines for scripts/bench.
#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/file_locations.h"
#include "core/app/interaction.h"
#include "core/comm/job/clock.h"
#include "core/comm/job/job_inputs.h"
#include "core/comm/job/job_runner.h"
#include "core/comm/ops/parameter_inputs.h"
#include "sim/sim_server.h"
#include "ui/desktop_executor.h"
#include "ui/file_dialogs.h"
#include "ui/progress_dialog.h"
#include "ui/ui_services.h"

namespace {

constexpr int kPrinters = 50;
constexpr int kStallLimitMs = 50;

class Yes : public rvq::Interaction {
public:
    bool Confirm(int, const std::string&) override { return true; }
    void Error(int, const std::string& text) override {
        std::fprintf(stderr, "desktop_progress: %s\n", text.c_str());
    }
    void Info(int, const std::string&) override {}
};

class NoFiles : public rvq::ui::FileDialogs {
public:
    std::optional<std::string> OpenFile(QWidget*, int, int) override { return std::nullopt; }
    std::optional<std::string> SaveFile(QWidget*, int, int, int) override { return std::nullopt; }
    std::optional<std::string> OpenFolder(QWidget*, int) override { return std::nullopt; }
};

// Each printer's lines, in the order shown, keyed by the text before the
// job's name; true when every printer has one start first and one end last.
bool LinesInOrderPerPrinter(const QStringList& lines, int& printersSeen) {
    std::map<QString, QStringList> byPrinter;
    for (const QString& line : lines) {
        const int at = line.indexOf(QStringLiteral("Get Parameter , "));
        if (at < 0) continue;
        byPrinter[line.left(at)].push_back(line.mid(at));
    }
    printersSeen = static_cast<int>(byPrinter.size());
    for (const auto& [printer, own] : byPrinter) {
        if (own.size() < 2 || own.front() != QStringLiteral("Get Parameter , Start") ||
            !own.back().startsWith(QStringLiteral("Get Parameter , Succeed")))
            return false;
        if (own.count(QStringLiteral("Get Parameter , Start")) != 1) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string data = RVQ_SOURCE_DIR "/data";

    rvq::sim::SimServer server{rvq::Clock(1.0)};
    for (int i = 0; i < kPrinters; ++i) {
        rvq::sim::PrinterSetup setup;
        setup.printer.definitionsPath = data + "/VQTool_Printer.XML";
        // One loopback address each, so the dialog's lines name the printer.
        setup.endpoint.host = "127.0.1." + std::to_string(i + 1);
        server.AddPrinter(setup);
    }
    std::string error;
    if (!server.Start(error)) {
        std::fprintf(stderr, "desktop_progress: %s\n", error.c_str());
        return 1;
    }

    rvq::AppContext context;
    rvq::Document document;
    Yes interaction;
    NoFiles files;
    context.settings.programFolder = data;
    context.settings.interfaceName = "Multi LAN";
    for (int i = 0; i < kPrinters; ++i) {
        context.settings.multiLanHosts.push_back("127.0.1." + std::to_string(i + 1));
        context.settings.multiLanPorts.push_back(server.Port(i));
    }
    if (!document.OnNewDocument(data + "/VQTool_Printer.XML", context.settings.printerModel,
                                context.settings.destination)) {
        std::fprintf(stderr, "desktop_progress: the definition file did not load\n");
        return 1;
    }
    rvq::ui::UiServices services{context, document, interaction, files, {}, {}, {}};
    services.pickPrinters = [](QWidget*, const std::vector<rvq::LanPrinter>& printers) {
        return std::optional<std::vector<bool>>(std::vector<bool>(printers.size(), true));
    };

    auto inputs = rvq::GetParameterJobInputs(document.model()->getCommandIndexes);

    rvq::ui::ProgressDialog dialog(services, rvq::ui::MakeDesktopExecutor(services), inputs);
    if (!dialog.Begin()) {
        std::fprintf(stderr, "desktop_progress: the run did not start\n");
        return 1;
    }
    dialog.show();

    // A timer that asks to run every millisecond: the longest time between
    // two of its turns is the longest the event loop stood still.
    QElapsedTimer sinceLast;
    qint64 longestMs = 0;
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout,
                     [&] { longestMs = std::max(longestMs, sinceLast.restart()); });
    QElapsedTimer wall;
    wall.start();
    sinceLast.start();
    tick.start();
    while ((dialog.runner().state() == rvq::RunState::Running || context.jobRunning) &&
           wall.elapsed() < 600000) {
        app.processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    tick.stop();
    app.processEvents();
    const bool succeeded = dialog.runner().state() == rvq::RunState::Succeeded;
    int seen = 0;
    const bool ordered =
        LinesInOrderPerPrinter(dialog.logText().split(QLatin1Char('\n'), Qt::SkipEmptyParts), seen);

    std::printf("desktop Multi-LAN 50: longest event-loop stall|%lld|ms|<= %d ms|%d\n",
                static_cast<long long>(longestMs), kStallLimitMs, kStallLimitMs);
    std::printf("desktop Multi-LAN 50: run wall|%lld|ms|-|-\n",
                static_cast<long long>(wall.elapsed()));
    const int lost = succeeded && ordered ? kPrinters - seen : kPrinters;
    std::printf("desktop Multi-LAN 50: printers lost or out of order|%d|of 50|0|0\n", lost);
    return 0;
}
