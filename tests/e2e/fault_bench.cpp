#include "fault_bench.h"

#include <cstdlib>
#include <thread>

#include "core/builders/download_image.h"
#include "core/builders/rom_list.h"
#include "core/builders/test_print.h"
#include "core/comm/ops/download_inputs.h"
#include "core/comm/ops/operations.h"
#include "core/comm/ops/parameter_inputs.h"
#include "rom_files.h"
#include "support/scripted_interaction.h"

namespace rvq::test {

namespace {
const std::string kDataFolder = RVQ_SOURCE_DIR "/data";
const std::string kModel = "R-VQ4T1-T";
}  // namespace

JobBench::JobBench() { ::setenv("RVQ_TIME_SCALE", std::to_string(kFaultScale).c_str(), 1); }

JobBench::~JobBench() {
    if (runner_) std::ignore = runner_->WaitForWorkers(600000);
    runner_.reset();
    if (server) server->Stop();
}

bool JobBench::Prepare() {
    if (!document.OnNewDocument(kDataFolder + "/VQTool_Printer.XML", kModel, "QM")) return false;
    runner_ = std::make_unique<JobRunner>(context, document.sharedJobLog(),
                                          MakeOperationExecutor(context, document), events);
    return true;
}

bool JobBench::StartAgainst(int port) {
    context.settings.interfaceName = "LAN";
    context.settings.lanHost = "127.0.0.1";
    context.settings.lanPort = port;
    return Prepare();
}

bool JobBench::Start(const sim::FaultPlan& faults, int count,
                     const std::function<void(int, sim::PrinterConfig&)>& configure) {
    server = std::make_unique<sim::SimServer>(Clock(kFaultScale));
    for (int i = 0; i < count; ++i) {
        sim::PrinterSetup setup;
        setup.printer.model = kModel;
        setup.printer.definitionsPath = kDataFolder + "/VQTool_Printer.XML";
        setup.printer.restartMs = 1000;
        setup.printer.faults = faults;
        if (configure) configure(i, setup.printer);
        server->AddPrinter(setup);
    }
    std::string error;
    if (!server->Start(error)) return false;
    if (count == 1)
        UseLan();
    else
        UseMultiLan();
    return Prepare();
}

void JobBench::UseLan(int index) {
    context.settings.interfaceName = "LAN";
    context.settings.lanHost = "127.0.0.1";
    context.settings.lanPort = server->Port(index);
}

void JobBench::UseMultiLan() {
    context.settings.interfaceName = "Multi LAN";
    context.settings.multiLanHosts.clear();
    context.settings.multiLanPorts.clear();
    for (int i = 0; i < server->PrinterCount(); ++i) {
        context.settings.multiLanHosts.emplace_back("127.0.0.1");
        context.settings.multiLanPorts.push_back(server->Port(i));
    }
}

JobOutcome JobBench::Run(const std::shared_ptr<JobInputs>& inputs, std::int64_t limitMs,
                         const std::function<bool()>& cancelWhen) {
    JobOutcome outcome;
    const auto start = std::chrono::steady_clock::now();
    if (!runner_->Start(inputs)) return outcome;
    if (cancelWhen) {
        // The condition is polled on the test thread; the job's own waits
        // are what the cancel has to cut short.
        const auto deadline = start + std::chrono::milliseconds(
                                          Clock(kFaultScale).ToRealMs(static_cast<int>(limitMs)));
        while (!cancelWhen() && std::chrono::steady_clock::now() < deadline &&
               runner_->runningWorkers() > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        runner_->RequestCancel();
    }
    outcome.ended = runner_->WaitForWorkers(static_cast<int>(limitMs));
    outcome.realMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now() - start)
                         .count();
    outcome.result = runner_->overallResult();
    outcome.lines = events.Lines(0);
    const auto log = document.jobLog();
    if (!log.empty()) outcome.logLine = log.back();
    return outcome;
}

std::shared_ptr<JobInputs> JobBench::Job(JobKind kind) const {
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = kind;
    return inputs;
}

std::shared_ptr<JobInputs> JobBench::GetParameters() const {
    return GetParameterJobInputs(document.model()->getCommandIndexes);
}

std::shared_ptr<JobInputs> JobBench::Firmware() {
    RomList list;
    ScriptedInteraction interaction;
    const std::string path = dir.Write("main.rom", RomFile(2048, "MAIN", "V2.00"));
    if (AddRomFile(list, path, kModel, interaction, context.strings) == AddRomOutcome::NotRomFile)
        return nullptr;
    const auto firmware = BuildFirmwareDownloadInputs(list, context.settings.controlCodes);
    return firmware ? FirmwareJobInputs(*firmware, false) : nullptr;
}

std::shared_ptr<JobInputs> JobBench::Basic() {
    basic_ = std::make_unique<BasicEncoder>(context.strings, context.settings.controlCodes, false);
    if (!basic_->EncodeBasicProgram(std::string(RVQ_FIXTURES_DIR) + "/basic/LOOPS.BAS", 1) ||
        !basic_->SetBlockLoadCommand(3))
        return nullptr;
    BasicJobParts parts;
    parts.allocate = true;
    parts.allocation = {0, 14, 4, 0};
    parts.mainProgram = basic_.get();
    return BasicJobInputs(parts);
}

std::shared_ptr<JobInputs> JobBench::SendFile() const {
    std::string bytes(16 << 20, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 13 % 256);
    return SendFileJobInputs(std::make_shared<const ByteBuffer>(bytes.begin(), bytes.end()),
                             dir.File("send.prn"));
}

std::shared_ptr<JobInputs> JobBench::TestPrint() const {
    const TestPrintOptions options = DefaultTestPrintOptions(*document.model());
    const TestPrintBuild build =
        BuildTestPrintData(options, *document.model(), context.settings, context.strings);
    if (!build.result) return nullptr;
    auto inputs = Job(JobKind::TestPrint);
    TestPrintArgs& args = inputs->args.emplace<TestPrintArgs>();
    for (const std::string* block : {&build.data.setup, &build.data.pattern, &build.data.issue})
        args.blocks.push_back(std::make_shared<ByteBuffer>(block->begin(), block->end()));
    return inputs;
}

std::vector<std::string> JobBench::Commands(int index) const {
    std::vector<std::string> texts;
    for (const auto& e : server->log().Entries()) {
        if (e.printer == index && e.command.kind == sim::ReceivedCommand::Kind::Command)
            texts.push_back(e.command.text);
    }
    return texts;
}

bool JobBench::Received(const std::string& prefix, int index) const {
    for (const auto& text : Commands(index)) {
        if (text.rfind(prefix, 0) == 0) return true;
    }
    return false;
}

}  // namespace rvq::test
