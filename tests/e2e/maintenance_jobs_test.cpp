// The maintenance and memory jobs against a simulated printer on loopback
// or a serial pseudo-terminal, with the protocol clock scaled down.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/string_ids.h"
#include "core/builders/test_print.h"
#include "core/comm/job/job_kind.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/maintenance_inputs.h"
#include "core/comm/ops/maintenance_operations.h"
#include "core/comm/ops/operations.h"
#include "core/comm/ops/printer_info_read.h"
#include "sim/info_blocks.h"
#include "sim/reply_builders.h"
#include "sim/sha256.h"
#include "sim/sim_server.h"
#include "support/temp_dir.h"

namespace rvq {
namespace {

using test::ReadAll;
using test::TempDir;

constexpr double kScale = 0.01;
const std::string kSerialLine = "9600,N,8,1,0";

struct Sink : JobSink {
    std::vector<std::string> display;
    void Line(int, const std::string&, const std::string& d) override { display.push_back(d); }
    void Progress(int, int) override {}
};

struct Outcome {
    bool ok = false;
    int result = 0;
    std::vector<std::string> lines;
    std::string last() const { return lines.empty() ? std::string() : lines.back(); }
};

class MaintenanceJobs : public ::testing::Test {
protected:
    void TearDown() override {
        if (server_) server_->Stop();
    }

    void Start(sim::EndpointConfig::Kind kind = sim::EndpointConfig::Kind::Lan,
               const std::function<void(sim::PrinterConfig&)>& configure = {}) {
        if (server_) server_->Stop();
        // Serial and USB reads wait 2 to 10 s per read: a less scaled clock
        // keeps them longer than a busy machine's scheduling delays.
        scale_ = kind == sim::EndpointConfig::Kind::Lan ? kScale : 0.1;
        server_ = std::make_unique<sim::SimServer>(Clock(scale_));
        sim::PrinterSetup setup;
        setup.printer.restartMs = 1000;
        setup.printer.definitionsPath = std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML";
        setup.endpoint.kind = kind;
        if (kind == sim::EndpointConfig::Kind::Usb) {
            setup.endpoint.usbFolder = dir_.File("usb");
            setup.endpoint.usbSerial = "A1";
        }
        if (configure) configure(setup.printer);
        server_->AddPrinter(setup);
        std::string error;
        ASSERT_TRUE(server_->Start(error)) << error;
        if (kind == sim::EndpointConfig::Kind::Pty) {
            std::filesystem::remove(dir_.File("COM3"));
            std::filesystem::create_symlink(server_->PtyPath(0), dir_.File("COM3"));
            ::setenv("RVQ_DEVICE_DIR", dir_.path().c_str(), 1);
            connection_ = {"COM3", kSerialLine};
        } else if (kind == sim::EndpointConfig::Kind::Usb) {
            ::setenv("RVQ_SYSFS_ROOT", dir_.File("usb/sys").c_str(), 1);
            ::setenv("RVQ_DEV_ROOT", dir_.File("usb/dev").c_str(), 1);
            connection_ = {"USB", "\\\\?\\usb#vid_7a3c&pid_0053#A1#" + server_->UsbNode(0)};
        } else {
            connection_ = {"LAN", "127.0.0.1," + std::to_string(server_->Port(0))};
        }
    }

    Outcome Run(const std::shared_ptr<JobInputs>& inputs) {
        JobSetup setup;
        setup.connection = connection_;
        setup.timeScale = scale_;
        setup.inputs = inputs;
        Sink sink;
        JobReporter reporter(context_.strings, sink, context_.cancelRequested,
                             connection_.interfaceName.text(), JobTitleId(*inputs), false, 0);
        PrinterJob job(setup, reporter, context_);
        job.AttachDocument(&document_);
        Outcome outcome;
        outcome.ok = RunOperation(job, inputs->kind);
        job.ClosePort();
        outcome.result = reporter.result();
        outcome.lines = sink.display;
        return outcome;
    }
    Outcome Run(JobKind kind) { return Run(PlainJobInputs(kind)); }

    std::vector<std::string> Commands() {
        std::vector<std::string> texts;
        for (const auto& e : server_->log().Entries()) {
            if (e.command.kind == sim::ReceivedCommand::Kind::Command)
                texts.push_back(e.command.text);
        }
        return texts;
    }
    bool Sent(const std::string& text) {
        const auto all = Commands();
        return std::find(all.begin(), all.end(), text) != all.end();
    }
    void Replace(const std::string& letters, std::string reply) {
        server_->Configure(0, [&](sim::SimPrinter& p) {
            p.Register(letters, [reply](sim::SimPrinter&, const sim::ReceivedCommand&,
                                        sim::Response& r) { r.reply = reply; });
        });
    }

    std::unique_ptr<sim::SimServer> server_;
    double scale_ = kScale;
    AppContext context_;
    Document document_;
    TempDir dir_;
    Connection connection_;
};

// A 4-digit block frame: SOH STX, the header, the length, the text, the end.
std::string BlockFrame(const std::string& header, const std::string& length,
                       const std::string& text) {
    return std::string("\x01\x02") + header + length + text + std::string("\x03\x04\r\n");
}

TEST_F(MaintenanceJobs, SerialVersionBlockIsReadByItsLengthAndSavedWithTheLengthAsLineBreaks) {
    Start(sim::EndpointConfig::Kind::Pty);
    const std::string header = "VERSION          ";  // 17 characters
    const std::string text = std::string(98, 'v') + "\r\n";
    Replace("ZLR20", BlockFrame(header, "0100", text));
    const std::string path = dir_.File("info.txt");
    const Outcome outcome = Run(PrinterInfoJobInputs(2, path));
    ASSERT_TRUE(outcome.ok) << outcome.last();
    EXPECT_EQ(outcome.last(), "Save Printer Info , Succeed");
    const std::string saved = ReadAll(path);
    ASSERT_GE(saved.size(), 121u);
    EXPECT_EQ(saved.substr(0, 121), header + "\r\n\r\n" + text);
    // The settings block follows, appended the same way.
    EXPECT_EQ(saved.substr(121, 21), "PRINTER INFO     \r\n\r\n");
    EXPECT_NE(saved.find("<< COUNTER >>"), std::string::npos);
    EXPECT_EQ(Commands().back(), "ZSR");  // read without a change: no restart
}

TEST_F(MaintenanceJobs, SerialSettingsBlockShorterThanItsFirstReadTimesOut) {
    Start(sim::EndpointConfig::Kind::Pty);
    Replace("ZLR10", BlockFrame("PRINTER INFO     ", "0006", "A  1\r\n"));
    const Outcome outcome = Run(PrinterInfoJobInputs(4));
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.last(), "Get Printer Info , Fail , Timeout error");
    EXPECT_TRUE(document_.infoSection(InfoSection::Counter).names.empty());
}

TEST_F(MaintenanceJobs, BadLengthFieldsFailCleanlyAndLeaveTheSettingMode) {
    const struct {
        std::uint32_t subKind;
        const char* field;
    } cases[] = {
        {3, "01x0"},      // not digits
        {3, "9999"},      // more than the version buffer holds
        {4, "0010"},      // less than the 4096 bytes already read
        {1, "9999999x"},  // data log
        {1, "99999999"},  // data log past its buffer
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        Start();
        sim::FaultPlan bad;
        bad.infoLengthField = c.field;
        server_->SetFaults(0, bad);
        const std::string path = dir_.File("log.bin");
        const Outcome outcome = Run(PrinterInfoJobInputs(c.subKind, path));
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.lines.back().substr(outcome.lines.back().find(" , ")),
                  " , Fail , Communication error");
        // The job may end before the printer has read the leave command.
        EXPECT_TRUE(server_->log().WaitFor(
            [](const auto& entries) {
                return !entries.empty() && entries.back().command.text == "ZSR";
            },
            std::chrono::seconds(10)));
        EXPECT_EQ(server_->Mode(0), sim::PrinterMode::Vpcl);
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

TEST_F(MaintenanceJobs, SerialDataLogRunsWithReadyBusyFlowAndRestoresTheLine) {
    // The data holds XON and XOFF bytes, which an XON/XOFF line (flow 0)
    // would swallow.
    Start(sim::EndpointConfig::Kind::Pty, [](sim::PrinterConfig& p) { p.dataLogBytes = 10000; });
    const std::string path = dir_.File("printer.log");
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::PrinterInfo;
    inputs->args = PrinterInfoArgs{1, path};
    JobSetup setup;
    setup.connection = connection_;
    setup.timeScale = scale_;
    setup.inputs = inputs;
    Sink sink;
    JobReporter reporter(context_.strings, sink, context_.cancelRequested, "COM3", 784, false, 0);
    PrinterJob job(setup, reporter, context_);
    ASSERT_TRUE(job.OpenJobPort());
    ASSERT_TRUE(job.ModeShift(true, false, 0));
    ASSERT_TRUE(ReadDataLog(job, path)) << (sink.display.empty() ? "" : sink.display.back());
    EXPECT_EQ(job.port().settings(), kSerialLine);
    EXPECT_TRUE(job.port().isOpen());

    const std::string saved = ReadAll(path);
    ASSERT_EQ(saved.size(), 33u + 10000u);
    EXPECT_EQ(saved.substr(33), sim::DataLogBytes(10000));
    EXPECT_EQ(saved.substr(25, 8), "00010000");
}

TEST_F(MaintenanceJobs, DataLogJobOverSerialSucceedsWithoutAReadyCheck) {
    Start(sim::EndpointConfig::Kind::Pty, [](sim::PrinterConfig& p) { p.dataLogBytes = 5000; });
    const std::string path = dir_.File("printer.log");
    const Outcome outcome = Run(PrinterInfoJobInputs(1, path));
    ASSERT_TRUE(outcome.ok) << outcome.last();
    EXPECT_EQ(outcome.last(), "Data Logging , Succeed");
    EXPECT_EQ(Commands(), (std::vector<std::string>{"ZSS", "ZLR00", "ZSR"}));
    EXPECT_EQ(ReadAll(path).substr(33), sim::DataLogBytes(5000));
}

TEST_F(MaintenanceJobs, UsbDataLogReadsToTheAnnouncedEndPastAnEndMarkerInTheData) {
    Start(sim::EndpointConfig::Kind::Usb);
    std::string data(6000, 'd');
    data.replace(100, 4, "\x03\x04\r\n");
    Replace("ZLR00",
            std::string("\x01\x02") + std::string(25, 'L') + "00006000" + data + "\x03\x04\r\n");
    // The first piece of the reply ends right after the marker in the data.
    sim::FaultPlan split;
    split.splitBytes = 2 + 25 + 8 + 104;
    server_->SetFaults(0, split);
    const std::string path = dir_.File("usb.log");
    const Outcome outcome = Run(PrinterInfoJobInputs(1, path));
    ASSERT_TRUE(outcome.ok) << outcome.last();
    EXPECT_EQ(ReadAll(path), std::string(25, 'L') + "00006000" + data);
}

TEST_F(MaintenanceJobs, UsbRefreshFillsTheDocument) {
    Start(sim::EndpointConfig::Kind::Usb);
    const Outcome outcome = Run(PrinterInfoJobInputs(5));
    ASSERT_TRUE(outcome.ok) << outcome.last();
    EXPECT_FALSE(document_.infoSection(InfoSection::Rtc).names.empty());
    EXPECT_EQ(document_.GetMainVersion(), "V1.00");
}

TEST_F(MaintenanceJobs, RefreshFillsEverySectionOfTheDocument) {
    Start();
    const Outcome outcome = Run(PrinterInfoJobInputs(5));
    ASSERT_TRUE(outcome.ok) << outcome.last();
    EXPECT_EQ(outcome.last(), "Get Printer Info , Succeed");
    for (std::size_t s = 0; s < kInfoSectionCount; ++s) {
        EXPECT_FALSE(document_.infoSection(static_cast<InfoSection>(s)).names.empty())
            << "section " << s;
    }
    EXPECT_FALSE(document_.infoDestination().empty());
    EXPECT_EQ(document_.GetMainVersion(), "V1.00");
}

TEST_F(MaintenanceJobs, CounterClearChecksOnlyTheSelectedCounters) {
    Start();
    // Selection 1 clears field 3 only; field 8 keeps its count.
    Outcome outcome = Run(CounterClearJobInputs(kCounterSelectionFeed));
    ASSERT_TRUE(outcome.ok) << outcome.last();
    EXPECT_TRUE(Sent("ZS00;1"));
    server_->Inspect(0, [](const sim::SimPrinter& p) {
        EXPECT_EQ(p.state().counters[0], 0);
        EXPECT_NE(p.state().counters[1], 0);
    });
    EXPECT_EQ(context_.settingModeState, SettingModeState::Online);
    EXPECT_TRUE(Sent("ZSE"));  // leaves with a restart

    // A printer that acknowledges but does not clear fails the check.
    server_->Configure(0, [](sim::SimPrinter& p) {
        p.Register("ZS00;", [](sim::SimPrinter&, const sim::ReceivedCommand&, sim::Response& r) {
            r.reply = sim::DataFrame("ZS00", {"90"});
        });
    });
    outcome = Run(CounterClearJobInputs(kCounterSelectionPrint));
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.last(), "Maintenance Counter Clear , Fail , Processing error");
}

TEST_F(MaintenanceJobs, ParameterClearSendsTheDestinationIndexAndChecksIt) {
    Start();
    const Outcome outcome = Run(ParameterClearJobInputs(1));
    ASSERT_TRUE(outcome.ok) << outcome.last();
    EXPECT_TRUE(Sent("ZS01;1"));
    server_->Inspect(0, [](const sim::SimPrinter& p) { EXPECT_EQ(p.state().destination, 1); });
}

TEST_F(MaintenanceJobs, HeadCheckResults) {
    const struct {
        int status;
        bool ok;
        int result;
        const char* line;
    } cases[] = {
        {0, true, sid::kStatusSucceed, "Head Check , Succeed"},
        {17, false, sid::kStatusSucceed,
         "Head Check , Succeed , The print head has a broken element."},
        {5, false, sid::kStatusFail, "Head Check , Fail , An error (05) occurred on the printer."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        Start(sim::EndpointConfig::Kind::Lan,
              [&](sim::PrinterConfig& p) { p.headCheckStatus = c.status; });
        const Outcome outcome = Run(JobKind::HeadCheck);
        EXPECT_EQ(outcome.ok, c.ok);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.last(), c.line);
        EXPECT_TRUE(Sent("HD001,A"));
    }
}

TEST_F(MaintenanceJobs, FactoryDefaultOverLanDoesNotWaitForAModeReply) {
    Start();
    sim::FaultPlan quiet;
    quiet.neverAnswer = {"ZSE"};
    server_->SetFaults(0, quiet);
    const Outcome outcome = Run(JobKind::FactoryDefault);
    ASSERT_TRUE(outcome.ok) << outcome.last();
    EXPECT_EQ(outcome.last(), "Factory default , Succeed");
    const auto commands = Commands();
    ASSERT_GE(commands.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(commands.end() - 4, commands.end()),
              (std::vector<std::string>{"ZS03", "ZLR20", "ZLR10", "ZSE"}));
    EXPECT_EQ(context_.settingModeState, SettingModeState::Online);
}

TEST_F(MaintenanceJobs, MemoryAllocateAndFormatSendTheirCommands) {
    Start();
    auto allocate = std::make_shared<JobInputs>();
    allocate->kind = JobKind::MemoryAllocate;
    allocate->args = MemoryAllocateArgs{{3, 14, 0, true}};
    Outcome outcome = Run(allocate);
    ASSERT_TRUE(outcome.ok) << outcome.last();
    EXPECT_TRUE(Sent("XF;03,14,AA"));

    outcome = Run(MemoryFormatJobInputs(1, 2));
    ASSERT_TRUE(outcome.ok) << outcome.last();
    EXPECT_TRUE(Sent("J1;B,2"));
    server_->Inspect(0, [](const sim::SimPrinter& p) {
        ASSERT_TRUE(p.state().allocation);
        EXPECT_EQ(p.state().allocation->basicBlocks, "AA");
        ASSERT_TRUE(p.state().format);
        EXPECT_EQ(p.state().format->first, 'B');
    });
}

TEST_F(MaintenanceJobs, TestPrintDataArrivesWhole) {
    Start();
    auto model = std::make_unique<PrinterModel>();
    model->name = "R-VQ4T1-G";
    model->resolution = 203;
    model->maxWidth = 1040;
    model->maxLength = 9990;
    TestPrintOptions options = DefaultTestPrintOptions(*model);
    const TestPrintBuild build =
        BuildTestPrintData(options, *model, context_.settings, context_.strings);
    ASSERT_TRUE(build.result);
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::TestPrint;
    TestPrintArgs& args = inputs->args.emplace<TestPrintArgs>();
    for (const std::string* block : {&build.data.setup, &build.data.pattern, &build.data.issue})
        args.blocks.push_back(std::make_shared<ByteBuffer>(block->begin(), block->end()));
    const Outcome outcome = Run(inputs);
    ASSERT_TRUE(outcome.ok) << outcome.last();
    EXPECT_EQ(outcome.last(), "Test Print , Succeed");

    // Everything the printer took in: the ready check, then the three blocks.
    const std::string all = BuildFixedCommands(context_.settings.controlCodes).statusRequest +
                            build.data.setup + build.data.pattern + build.data.issue;
    ASSERT_TRUE(server_->log().WaitFor(
        [](const auto& entries) {
            return !entries.empty() && entries.back().command.text.rfind("XS;I,", 0) == 0;
        },
        std::chrono::seconds(10)));
    const auto [count, digest] = server_->ReceivedStream(0);
    EXPECT_EQ(count, static_cast<long long>(all.size()));
    EXPECT_EQ(digest, sim::Sha256Hex(all));
    // The graphics data, logged by its digest, is the builder's bitmap.
    const std::string& pattern = build.data.pattern;
    const std::string bitmap = pattern.substr(28, pattern.size() - 30);
    bool found = false;
    for (const auto& e : server_->log().Entries()) {
        if (e.command.text.rfind("SG;", 0) == 0 && e.command.data) {
            found = true;
            EXPECT_EQ(sim::Sha256Hex(*e.command.data), sim::Sha256Hex(bitmap));
        }
    }
    EXPECT_TRUE(found);
}

}  // namespace
}  // namespace rvq
