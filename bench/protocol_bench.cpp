// Whole jobs against simulated printers at the protocol's own speed, each
// set against its floor: the pauses the protocol prescribes (what the
// tool's clocks slept) plus one loopback round trip per exchange. Prints
// one line per figure: name|value|unit|target|limit.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "bench_support.h"
#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/interaction.h"
#include "core/app/printer_definition.h"
#include "core/app/string_ids.h"
#include "core/builders/download_image.h"
#include "core/builders/rom_list.h"
#include "core/comm/job/job_events.h"
#include "core/comm/job/job_runner.h"
#include "core/comm/ops/download_inputs.h"
#include "core/comm/ops/operations.h"
#include "core/comm/ops/parameter_inputs.h"
#include "core/comm/port/framing.h"
#include "core/comm/port/printer_port.h"
#include "core/platform/file_io.h"
#include "sim/sim_server.h"

namespace rvq::bench {
namespace {

using Steady = std::chrono::steady_clock;

double MsSince(Steady::time_point start) {
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

class QuietEvents : public JobEvents {
public:
    void OnLine(int, const std::string&) override {}
    void OnProgress(int, int, int) override {}
    void OnRunComplete() override {}
    void OnRunFinished(bool) override {}
    void OnCloseRequest() override {}
};

struct Printers {
    explicit Printers(const std::string& definitions, const std::string& model, int count)
        : server(Clock(1.0)) {
        for (int i = 0; i < count; ++i) {
            sim::PrinterSetup setup;
            setup.printer.model = model;
            setup.printer.definitionsPath = definitions;
            server.AddPrinter(setup);
        }
        std::string error;
        if (!server.Start(error)) {
            std::cerr << "protocol_bench: the simulator did not start: " << error << "\n";
            std::exit(1);
        }
    }
    ~Printers() { server.Stop(); }
    sim::SimServer server;
};

// Median round trip of a status request on loopback, without the pause
// the port prescribes after each write (that pause is part of the floor
// already, through the clock's account).
double RoundTripMs(sim::SimServer& server) {
    const Clock clock(1.0);
    PrinterPort port(clock);
    if (!port.Open("LAN", "127.0.0.1," + std::to_string(server.Port(0)))) return 0;
    const std::string request = BuildFixedCommands(ControlCodes{}).statusRequest;
    std::vector<double> times;
    std::vector<std::uint8_t> reply(256);
    for (int i = 0; i < 41; ++i) {
        std::size_t length = 0;
        const std::int64_t sleptBefore = Clock::PrescribedSleepRealMs();
        const auto start = Steady::now();
        const bool ok = port.Transact(
            std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(request.data()),
                                          request.size()),
            reply, length, 2000);
        const double slept = static_cast<double>(Clock::PrescribedSleepRealMs() - sleptBefore);
        if (ok) times.push_back(std::max(0.0, MsSince(start) - slept));
    }
    port.Close();
    if (times.empty()) return 0;
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

struct RunFigures {
    double ms = 0;
    double floorMs = 0;
    bool ok = false;
};

RunFigures RunJob(AppContext& context, Document& document, sim::SimServer& server,
                  const std::shared_ptr<JobInputs>& inputs, double roundTripMs) {
    QuietEvents events;
    JobRunner runner(context, document.sharedJobLog(), MakeOperationExecutor(context, document),
                     events);
    const std::size_t exchangesBefore = server.log().Entries().size();
    const std::int64_t sleptBefore = Clock::PrescribedSleepRealMs();
    const auto start = Steady::now();
    RunFigures figures;
    if (!runner.Start(inputs) || !runner.WaitForWorkers(3600000)) return figures;
    figures.ms = MsSince(start);
    figures.ok = runner.overallResult() == sid::kStatusSucceed;
    const double exchanges = static_cast<double>(server.log().Entries().size() - exchangesBefore);
    figures.floorMs =
        static_cast<double>(Clock::PrescribedSleepRealMs() - sleptBefore) + exchanges * roundTripMs;
    return figures;
}

void Print(const std::string& name, double value, const char* unit, const std::string& target,
           double limit) {
    std::printf("%s|%.3f|%s|%s|%.3f\n", name.c_str(), value, unit, target.c_str(), limit);
}

std::string RichestModel(const std::string& definitions) {
    std::vector<std::string> names;
    std::ignore = LoadPrinterModel(definitions, "", &names);
    std::string richest;
    std::size_t most = 0;
    for (const auto& name : names) {
        auto model = LoadPrinterModel(definitions, name, nullptr);
        if (model && model->items.size() > most) {
            most = model->items.size();
            richest = name;
        }
    }
    return richest;
}

std::shared_ptr<JobInputs> SetEveryGroup(const PrinterModel& model) {
    std::vector<int> ids;
    for (const ParamGroup& group : model.groups) ids.push_back(group.checkBoxId);
    return SetParameterJobInputs(ids);
}

std::shared_ptr<JobInputs> GetEvery(const PrinterModel& model) {
    return GetParameterJobInputs(model.getCommandIndexes);
}

// Get and Set Parameter of the richest model on one printer.
double SinglePrinterRuns(const std::string& definitions, const std::string& model) {
    Printers printers(definitions, model, 1);
    AppContext context;
    context.settings.interfaceName = "LAN";
    context.settings.lanHost = "127.0.0.1";
    context.settings.lanPort = printers.server.Port(0);
    Document document;
    if (!document.OnNewDocument(definitions, model, "QM") || document.model() == nullptr) {
        std::cerr << "protocol_bench: " << model << " does not load\n";
        std::exit(1);
    }
    const double roundTrip = RoundTripMs(printers.server);
    Print("loopback round trip (status request)", roundTrip, "ms", "-", 1e9);

    const RunFigures get =
        RunJob(context, document, printers.server, GetEvery(*document.model()), roundTrip);
    if (!get.ok) std::cerr << "protocol_bench: Get Parameter failed\n";
    Print("Get Parameter " + model + " (s)", get.ms / 1000, "s", "-", 1e9);
    Print("Get Parameter / protocol floor", get.ms / get.floorMs, "x", "<= 1.05", 1.05);

    const RunFigures set =
        RunJob(context, document, printers.server, SetEveryGroup(*document.model()), roundTrip);
    if (!set.ok) std::cerr << "protocol_bench: Set Parameter failed\n";
    Print("Set Parameter " + model + " (s)", set.ms / 1000, "s", "-", 1e9);
    Print("Set Parameter / protocol floor", set.ms / set.floorMs, "x", "<= 1.05", 1.05);

    auto restore = std::make_shared<JobInputs>();
    restore->kind = JobKind::RestoreOnline;
    std::ignore = RunJob(context, document, printers.server, restore, roundTrip);
    return get.ms;
}

class AgreeingInteraction : public Interaction {
public:
    bool Confirm(int, const std::string&) override { return true; }
    void Error(int, const std::string& text) override {
        std::cerr << "protocol_bench: " << text << "\n";
    }
    void Info(int, const std::string&) override {}
};

// A 4 MB ROM file of the MAIN section, version `version`, for the R-VQ4T1.
std::string MainRomFile(const std::string& version) {
    constexpr std::size_t kKb = 4096;
    std::string image(kKb * 1024, '\0');
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>((i * 7) % 251);
    std::string trailer(256, ' ');
    trailer[0] = static_cast<char>(kKb >> 24);
    trailer[1] = static_cast<char>(kKb >> 16);
    trailer[2] = static_cast<char>(kKb >> 8);
    trailer[3] = static_cast<char>(kKb);
    trailer.replace(4, 4, std::string("\x00\xB0\x00\x00", 4));
    trailer.replace(0x20, 9, "25OCT2010");
    trailer.replace(0x30, 7, "R-VQ4T1");
    trailer.replace(0x40, version.size(), version);
    trailer.replace(0x50, 4, "MAIN");
    image.replace(image.size() - 256, 256, trailer);
    return image;
}

// A 4 MB firmware download over TCP. The printer's flash write is spent in
// the tool's prescribed status polls, so it is in the floor already.
void FirmwareRun(const std::string& definitions) {
    Printers printers(definitions, "R-VQ4T1-T", 1);
    AppContext context;
    context.settings.interfaceName = "LAN";
    context.settings.lanHost = "127.0.0.1";
    context.settings.lanPort = printers.server.Port(0);
    Document document;
    if (!document.OnNewDocument(definitions, "R-VQ4T1-T", "QM")) {
        std::cerr << "protocol_bench: R-VQ4T1-T does not load\n";
        return;
    }
    RomList list;
    AgreeingInteraction agree;
    const std::string path = WriteScratchFile("main.bin", MainRomFile("V2.00"));
    const AddRomOutcome added = AddRomFile(list, path, "R-VQ4T1-T", agree, context.strings);
    const auto firmware = BuildFirmwareDownloadInputs(list, context.settings.controlCodes);
    if (!firmware) {
        std::cerr << "protocol_bench: the 4 MB ROM file was not taken (outcome "
                  << static_cast<int>(added) << ")\n";
        return;
    }
    const double roundTrip = RoundTripMs(printers.server);
    const RunFigures run =
        RunJob(context, document, printers.server, FirmwareJobInputs(*firmware, false), roundTrip);
    if (!run.ok) std::cerr << "protocol_bench: the firmware download failed\n";
    Print("Firmware download 4 MB over TCP (s)", run.ms / 1000, "s", "-", 1e9);
    Print("Firmware download / protocol floor", run.ms / run.floorMs, "x", "<= 1.05", 1.05);
}

// Fifty printers, five at a time, against ten single-printer runs.
void MultiLanRun(const std::string& definitions, const std::string& model, double singleGetMs) {
    constexpr int kPrinters = 50;
    Printers printers(definitions, model, kPrinters);
    AppContext context;
    context.settings.interfaceName = "Multi LAN";
    for (int i = 0; i < kPrinters; ++i) {
        context.settings.multiLanHosts.emplace_back("127.0.0.1");
        context.settings.multiLanPorts.push_back(printers.server.Port(i));
    }
    Document document;
    if (!document.OnNewDocument(definitions, model, "QM") || document.model() == nullptr) return;
    const RunFigures get =
        RunJob(context, document, printers.server, GetEvery(*document.model()), 0);
    if (!get.ok) std::cerr << "protocol_bench: the Multi-LAN Get Parameter failed\n";
    Print("Multi-LAN Get Parameter, 50 printers (s)", get.ms / 1000, "s", "-", 1e9);
    Print("Multi-LAN 50 / (10 x single printer)", get.ms / (10 * singleGetMs), "x", "<= 1.10",
          1.10);
}

}  // namespace
}  // namespace rvq::bench

int main(int argc, char** argv) {
    std::string definitions;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--definitions") definitions = argv[i + 1];
    }
    if (definitions.empty()) {
        std::cerr << "usage: protocol_bench --definitions VQTool_Printer.XML\n";
        return 2;
    }
    ::unsetenv("RVQ_TIME_SCALE");
    const std::string model = rvq::bench::RichestModel(definitions);
    if (model.empty()) {
        std::cerr << "protocol_bench: no model in " << definitions << "\n";
        return 1;
    }
    const double singleGetMs = rvq::bench::SinglePrinterRuns(definitions, model);
    rvq::bench::FirmwareRun(definitions);
    rvq::bench::MultiLanRun(definitions, model, singleGetMs);
    return 0;
}
