// The download jobs against simulated printers on loopback, with the
// protocol clock scaled down; what the printer received is read from the
// simulator's log.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <filesystem>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/builders/basic_encoder.h"
#include "core/builders/download_image.h"
#include "core/builders/rom_list.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/job_runner.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/download_inputs.h"
#include "core/comm/ops/operations.h"
#include "rom_files.h"
#include "sim/sha256.h"
#include "sim/sim_server.h"
#include "sim_wire.h"
#include "support/recording_job_events.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace rvq {
namespace {

constexpr double kScale = 0.01;
constexpr double kSerialScale = 0.05;
using test::RomFile;

struct Sink : JobSink {
    std::vector<std::string> display;
    std::vector<int> progress;
    void Line(int, const std::string&, const std::string& d) override { display.push_back(d); }
    void Progress(int, int p) override { progress.push_back(p); }
};

struct JobOutcome {
    bool ok = false;
    std::vector<std::string> lines;
    std::vector<int> progress;
};

// The (section, version) of every firmware image a printer was programmed with.
using Programmed = std::vector<std::pair<std::string, std::string>>;

class DownloadJobs : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("RVQ_DEVICE_DIR", devices_.path().c_str(), 1); }
    void TearDown() override {
        server_.Stop();
        ::unsetenv("RVQ_DEVICE_DIR");
    }

    int AddPrinter(sim::PrinterConfig printer,
                   sim::EndpointConfig::Kind kind = sim::EndpointConfig::Kind::Lan) {
        printer.restartMs = 1000;
        printer.definitionsPath = std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML";
        sim::PrinterSetup setup{printer, {}};
        setup.endpoint.kind = kind;
        return server_.AddPrinter(setup);
    }
    void StartServer() {
        std::string error;
        ASSERT_TRUE(server_.Start(error)) << error;
    }
    Connection Lan(int index) {
        return {"LAN", "127.0.0.1," + std::to_string(server_.Port(index))};
    }
    Connection Serial(int index) {
        std::filesystem::remove(devices_.File("COM3"));
        std::filesystem::create_symlink(server_.PtyPath(index), devices_.File("COM3"));
        return {"COM3", "115200,N,8,1,0"};
    }

    // The job inputs the firmware page makes of these ROM files.
    std::shared_ptr<JobInputs> Firmware(const std::vector<std::string>& roms,
                                        bool downloadMode = false) {
        RomList list;
        test::ScriptedInteraction interaction;
        for (std::size_t i = 0; i < roms.size(); ++i) {
            const std::string path = files_.Write("rom" + std::to_string(i) + ".bin", roms[i]);
            EXPECT_NE(AddRomFile(list, path, "R-VQ4T1-T", interaction, context_.strings),
                      AddRomOutcome::NotRomFile);
        }
        const auto firmware = BuildFirmwareDownloadInputs(list, context_.settings.controlCodes);
        EXPECT_TRUE(firmware.has_value());
        return firmware ? FirmwareJobInputs(*firmware, downloadMode) : nullptr;
    }

    JobOutcome Run(const Connection& connection, const std::shared_ptr<JobInputs>& inputs) {
        JobSetup setup;
        setup.connection = connection;
        // A serial line gives up on a chunk it cannot take within a second;
        // scaled down to 10 ms that would fail whenever the simulator is
        // slow to read, so serial jobs run at a gentler scale.
        const bool serial = IsSerial(connection.interfaceName.kind());
        setup.timeScale = serial || gentleScale_ ? kSerialScale : kScale;
        setup.inputs = inputs;
        Sink sink;
        JobReporter reporter(context_.strings, sink, context_.cancelRequested,
                             connection.interfaceName.text(), JobTitleId(inputs->kind), false, 0);
        PrinterJob job(setup, reporter, context_);
        job.AttachDocument(&document_);
        JobOutcome outcome;
        outcome.ok = RunOperation(job, inputs->kind);
        job.ClosePort();
        outcome.lines = sink.display;
        outcome.progress = sink.progress;
        return outcome;
    }

    std::vector<std::string> CommandsOf(int printer) {
        std::vector<std::string> texts;
        for (const auto& e : server_.log().Entries()) {
            if (e.printer == printer && e.command.kind == sim::ReceivedCommand::Kind::Command) {
                texts.push_back(e.command.text);
            }
        }
        return texts;
    }
    Programmed ProgrammedImages(int printer) {
        Programmed images;
        for (const auto& e : server_.log().Entries()) {
            if (e.printer != printer || e.command.text != "LP;" || !e.command.data) continue;
            const auto trailer = sim::ReadImageTrailer(*e.command.data);
            images.emplace_back(trailer ? trailer->section : "?", trailer ? trailer->version : "?");
        }
        return images;
    }
    static bool Has(const std::vector<std::string>& texts, const std::string& prefix) {
        for (const auto& t : texts) {
            if (t.rfind(prefix, 0) == 0) return true;
        }
        return false;
    }

    sim::SimServer server_{Clock(kScale)};
    bool gentleScale_ = false;  // run the job at the serial scale whatever the interface
    AppContext context_;
    Document document_;
    test::TempDir files_;
    test::TempDir devices_;
};

TEST_F(DownloadJobs, AMegabyteImageOverTheLanGoesInSixteenChunksAndTheNewVersionIsChecked) {
    AddPrinter({});
    StartServer();
    const std::string rom = RomFile(1024, "MAIN", "V2.00");
    const JobOutcome run = Run(Lan(0), Firmware({rom}));
    ASSERT_TRUE(run.ok) << ::testing::PrintToString(run.lines);
    EXPECT_EQ(run.lines,
              (std::vector<std::string>{
                  "Firmware Download , Start", "Firmware Download , Preparing for downloading...",
                  "Firmware Download , Sending MAIN firmware to the printer...",
                  "Firmware Download , Updating the printer...", "Firmware Download , Succeed"}));

    const auto entries = server_.log().Entries();
    const auto program = std::find_if(entries.begin(), entries.end(),
                                      [](const auto& e) { return e.command.text == "LP;"; });
    ASSERT_NE(program, entries.end());
    EXPECT_TRUE(program->command.data == rom) << "the image arrived changed";
    // Restarted, back in setting mode for the version read, then online.
    const auto commands = CommandsOf(0);
    ASSERT_GE(commands.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(commands.begin(), commands.begin() + 4),
              (std::vector<std::string>{"WS", "WV", "LD;", "LP;"}));
    EXPECT_EQ(std::vector<std::string>(commands.end() - 3, commands.end()),
              (std::vector<std::string>{"ZSS", "ZLR20", "ZSR"}));
    EXPECT_EQ(document_.GetMainVersion(), "V2.00");

    // One percentage after each 64 KB chunk but the last, between the
    // image's start (15) and its end (85).
    std::vector<int> chunkSteps;
    for (int p : run.progress) {
        if (p > 15 && p < 85) chunkSteps.push_back(p);
    }
    std::vector<int> expected;
    for (int k = 1; k < 16; ++k) expected.push_back(15 + 70 * k / 16);
    EXPECT_EQ(chunkSteps, expected);
    EXPECT_EQ(run.progress.back(), 100);
}

TEST_F(DownloadJobs, ASerialLineWaitsForTheNextBlockStatusAfterEveryChunkButTheLast) {
    sim::PrinterConfig printer;
    printer.faults.nextBlockLimit = 15;  // exactly what a 16-chunk image needs
    AddPrinter(printer, sim::EndpointConfig::Kind::Pty);
    StartServer();
    const std::string rom = RomFile(1024, "MAIN", "V3.00");
    const JobOutcome paced = Run(Serial(0), Firmware({rom}));
    ASSERT_TRUE(paced.ok) << ::testing::PrintToString(paced.lines);
    EXPECT_EQ(ProgrammedImages(0), (Programmed{{"MAIN", "V3.00"}}));

    // A printer that stops pacing after 7 blocks gets the 8th and no more.
    server_.Configure(0, [](sim::SimPrinter& p) { p.config().faults.nextBlockLimit = 7; });
    const long long before = server_.ReceivedStream(0).first;
    const JobOutcome stalled = Run(Serial(0), Firmware({RomFile(1024, "MAIN", "V4.00")}));
    EXPECT_FALSE(stalled.ok);
    EXPECT_EQ(stalled.lines.back(), "Firmware Download , Fail , Timeout error");
    const long long received = server_.ReceivedStream(0).first - before;
    EXPECT_GE(received, 8 * 65536);
    EXPECT_LT(received, 8 * 65536 + 100);
    EXPECT_EQ(ProgrammedImages(0).size(), 1u);
}

TEST_F(DownloadJobs, ASecondBankPrinterOnTheLanGetsOnlyItsBootMainAndTheRest) {
    sim::PrinterConfig printer;
    printer.bankType = 'N';
    AddPrinter(printer);
    StartServer();
    const auto inputs = Firmware({RomFile(4, "BOOT", "V1.10"), RomFile(4, "BOOT", "N1.10"),
                                  RomFile(8, "MAIN", "V1.20"), RomFile(8, "MAIN", "N1.20"),
                                  RomFile(4, "C/G", "V1.30")});
    const JobOutcome run = Run(Lan(0), inputs);
    ASSERT_TRUE(run.ok) << ::testing::PrintToString(run.lines);
    EXPECT_TRUE(Has(CommandsOf(0), "WV"));
    EXPECT_EQ(ProgrammedImages(0),
              (Programmed{{"BOOT", "N1.10"}, {"MAIN", "N1.20"}, {"C/G", "V1.30"}}));
    EXPECT_EQ(document_.GetBootVersion(), "N1.10");
}

TEST_F(DownloadJobs, VersionsThatDidNotChangeFailTheDownload) {
    sim::PrinterConfig printer;
    printer.faults.staleVersions = true;
    AddPrinter(printer);
    StartServer();
    const JobOutcome run = Run(Lan(0), Firmware({RomFile(4, "MAIN", "V9.99")}));
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.lines.back(), "Firmware Download , Fail , Processing error");
    EXPECT_EQ(ProgrammedImages(0).size(), 1u);
}

TEST_F(DownloadJobs, MultiLanPrintersAreEachCheckedAgainstTheirOwnVersions) {
    AddPrinter({});
    sim::PrinterConfig stale;
    stale.faults.staleVersions = true;
    AddPrinter(stale);
    StartServer();
    context_.settings.interfaceName = "Multi LAN";
    for (int i = 0; i < 2; ++i) {
        context_.settings.multiLanHosts.emplace_back("127.0.0.1");
        context_.settings.multiLanPorts.push_back(server_.Port(i));
    }
    ::setenv("RVQ_TIME_SCALE", "0.01", 1);
    test::RecordingJobEvents events;
    JobRunner runner(context_, document_.sharedJobLog(), MakeOperationExecutor(context_, document_),
                     events);
    ASSERT_TRUE(runner.Start(Firmware({RomFile(64, "MAIN", "V6.00")})));
    ASSERT_TRUE(runner.WaitForWorkers(600000));
    ::unsetenv("RVQ_TIME_SCALE");
    EXPECT_EQ(runner.printerStates(), (std::vector<int>{kPrinterSucceeded, kPrinterFailed}));
    EXPECT_EQ(events.Lines(1).back(), "[127.0.0.1]Firmware Download , Fail , Processing error");
    EXPECT_EQ(ProgrammedImages(0).size(), 1u);
    EXPECT_EQ(ProgrammedImages(1).size(), 1u);
}

// A serial printer's answer after an image only starts a plain wait; the
// versions read afterwards show that the image was not taken.
TEST_F(DownloadJobs, AnImageRefusedOnASerialLineFailsTheVersionCheck) {
    sim::PrinterConfig printer;
    printer.bankType = 'N';  // refuses a first-bank MAIN with 34
    AddPrinter(printer, sim::EndpointConfig::Kind::Pty);
    StartServer();
    const JobOutcome run = Run(Serial(0), Firmware({RomFile(4, "MAIN", "V5.00")}));
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.lines.back(), "Firmware Download , Fail , Processing error");
    EXPECT_TRUE(Has(CommandsOf(0), "ZSS")) << "the versions were read";
}

TEST_F(DownloadJobs, BootWithSecondBankMainCannotBeSentWithoutAskingThePrinter) {
    AddPrinter({}, sim::EndpointConfig::Kind::Pty);
    StartServer();
    const JobOutcome run =
        Run(Serial(0), Firmware({RomFile(4, "BOOT", "V1.00"), RomFile(8, "MAIN", "N1.00")}));
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.lines.back(), "Firmware Download , Fail , Processing error");
    EXPECT_EQ(CommandsOf(0), std::vector<std::string>{"WS"});
}

TEST_F(DownloadJobs, BasicStepsRunInOrderAndAnAcceptedProgramIsStored) {
    AddPrinter({});
    StartServer();
    BasicEncoder main(context_.strings, context_.settings.controlCodes, false);
    ASSERT_TRUE(main.EncodeBasicProgram(std::string(RVQ_FIXTURES_DIR) + "/basic/LOOPS.BAS", 1));
    ASSERT_TRUE(main.SetBlockLoadCommand(3));
    BasicJobParts parts;
    parts.allocate = true;
    parts.allocation = {0, 14, 4, 0};
    parts.mainProgram = &main;
    const JobOutcome run = Run(Lan(0), BasicJobInputs(parts));
    ASSERT_TRUE(run.ok) << ::testing::PrintToString(run.lines);
    EXPECT_EQ(run.lines,
              (std::vector<std::string>{
                  "BASIC Download , Start", "BASIC Download , Memory is being allocated...",
                  "BASIC Download , Preparing for downloading...",
                  "BASIC Download , Updating the main program...", "BASIC Download , Succeed"}));
    const auto commands = CommandsOf(0);
    ASSERT_GE(commands.size(), 4u);
    EXPECT_EQ(commands[1], "XF;00,14,04");
    EXPECT_EQ(commands[2].substr(0, 7), "LDB;03,");
    EXPECT_EQ(commands[3], "LP;");
    server_.Inspect(0, [](const sim::SimPrinter& p) { EXPECT_EQ(p.state().basic.count('M'), 1u); });
    EXPECT_TRUE(std::is_sorted(run.progress.begin(), run.progress.end()));
}

TEST_F(DownloadJobs, APrinterRefusingABasicProgramIsReportedWithItsStatus) {
    sim::PrinterConfig printer;
    printer.basicStatus = 34;
    AddPrinter(printer);
    StartServer();
    // The tool reads the printer's verdict once, after its fixed wait; at
    // the fastest scale a busy machine could leave the simulator's answer
    // later than that, and a missing answer counts as success.
    gentleScale_ = true;
    BasicEncoder main(context_.strings, context_.settings.controlCodes, false);
    ASSERT_TRUE(main.EncodeBasicProgram(std::string(RVQ_FIXTURES_DIR) + "/basic/LOOPS.BAS", 1));
    ASSERT_TRUE(main.SetBlockLoadCommand(0));
    BasicJobParts parts;
    parts.mainProgram = &main;
    const JobOutcome run = Run(Lan(0), BasicJobInputs(parts));
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.lines.back(), "BASIC Download , Fail , An error (34) occurred on the printer.");
}

TEST_F(DownloadJobs, ATestFileAloneIsSentWithoutABlockLoad) {
    AddPrinter({});
    StartServer();
    const std::string text = "PRINTER TEST DATA 0123456789";
    BasicJobParts parts;
    parts.testFile = std::make_shared<const ByteBuffer>(text.begin(), text.end());
    const JobOutcome run = Run(Lan(0), BasicJobInputs(parts));
    ASSERT_TRUE(run.ok) << ::testing::PrintToString(run.lines);
    EXPECT_EQ(run.lines[1], "BASIC Download , Test File");
    EXPECT_EQ(CommandsOf(0), std::vector<std::string>{"WS"});
    std::size_t stray = 0;
    for (const auto& e : server_.log().Entries()) stray += e.command.strayBytes;
    EXPECT_EQ(stray, text.size());
}

TEST_F(DownloadJobs, SendFileDeliversTheBytesUnchangedWithoutAskingAnything) {
    AddPrinter({});
    StartServer();
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 13 % 256);
    const JobOutcome run =
        Run(Lan(0),
            SendFileJobInputs(std::make_shared<const ByteBuffer>(bytes.begin(), bytes.end()), "x"));
    ASSERT_TRUE(run.ok) << ::testing::PrintToString(run.lines);
    ASSERT_TRUE(sim::test::Eventually(
        [&] { return server_.ReceivedStream(0).first == static_cast<long long>(bytes.size()); },
        std::chrono::milliseconds(5000)));
    EXPECT_EQ(server_.ReceivedStream(0).second, sim::Sha256Hex(bytes));
}

}  // namespace
}  // namespace rvq
