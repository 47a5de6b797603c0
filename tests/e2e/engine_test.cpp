// The job engine and runner against simulated printers on loopback, with
// the protocol clock scaled down.
#include <gtest/gtest.h>

#include "support/recording_job_events.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/job_log.h"
#include "core/app/string_ids.h"
#include "core/comm/job/job_events.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/operations.h"
#include "sim/sim_server.h"

namespace rvq {
namespace {

using namespace std::chrono_literals;
constexpr double kScale = 0.01;

using Events = test::RecordingJobEvents;

// Log lines of one job, for direct step tests.
struct Sink : JobSink {
    std::vector<std::string> display;
    std::vector<int> progress;
    void Line(int, const std::string&, const std::string& d) override { display.push_back(d); }
    void Progress(int, int p) override { progress.push_back(p); }
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("RVQ_TIME_SCALE", "0.01", 1); }
    void TearDown() override { server_.Stop(); }

    void StartPrinters(int count, int restartMs = 3000) {
        for (int i = 0; i < count; ++i) {
            sim::PrinterSetup setup;
            setup.printer.restartMs = restartMs;
            server_.AddPrinter(setup);
        }
        std::string error;
        ASSERT_TRUE(server_.Start(error)) << error;
    }
    void UseLan(int index) {
        context_.settings.interfaceName = "LAN";
        context_.settings.lanHost = "127.0.0.1";
        context_.settings.lanPort = server_.Port(index);
    }
    void UseMultiLan(int count) {
        context_.settings.interfaceName = "Multi LAN";
        for (int i = 0; i < count; ++i) {
            context_.settings.multiLanHosts.emplace_back("127.0.0.1");
            context_.settings.multiLanPorts.push_back(server_.Port(i));
        }
    }
    std::shared_ptr<JobInputs> Inputs(JobKind kind) {
        auto inputs = std::make_shared<JobInputs>();
        inputs->kind = kind;
        return inputs;
    }
    // Runs one kind to its end and returns the runner's overall result.
    int Run(JobRunner& runner, JobKind kind) {
        EXPECT_TRUE(runner.Start(Inputs(kind)));
        EXPECT_TRUE(runner.WaitForWorkers(600000));
        return runner.overallResult();
    }
    std::vector<std::string> CommandsOf(int printer) {
        std::vector<std::string> texts;
        for (const auto& e : server_.log().Entries()) {
            if (e.printer == printer) texts.push_back(e.command.text);
        }
        return texts;
    }
    JobSetup SingleSetup(int index) {
        JobSetup setup;
        setup.connection = {"LAN", "127.0.0.1," + std::to_string(server_.Port(index))};
        setup.timeScale = kScale;
        setup.inputs = Inputs(JobKind::GetParameter);
        return setup;
    }

    sim::SimServer server_{Clock(kScale)};
    AppContext context_;
    Document document_;
    Events events_;
};

TEST_F(EngineTest, RestoreAfterAChangeRestartsAndReconnects) {
    StartPrinters(1, 2000);
    UseLan(0);
    context_.settingModeState = SettingModeState::AfterChange;
    JobRunner runner(context_, document_.sharedJobLog(), MakeOperationExecutor(context_, document_),
                     events_);
    EXPECT_EQ(Run(runner, JobKind::RestoreOnline), sid::kStatusSucceed);
    EXPECT_EQ(context_.settingModeState, SettingModeState::Online);
    EXPECT_EQ(events_.closeRequests(), 1);
    const auto commands = CommandsOf(0);
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.front(), "ZSE");
    const auto lines = events_.Lines(0);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "Restore to Online , Updating the printer...");
    EXPECT_EQ(lines[2], "Restore to Online , Succeed");
    // The log line shows the host, never the port.
    EXPECT_NE(document_.jobLog().back().find(",127.0.0.1,Restore to Online,Succeed"),
              std::string::npos);
}

TEST_F(EngineTest, RestoreAfterAReadLeavesWithoutRestart) {
    StartPrinters(1);
    UseLan(0);
    context_.settingModeState = SettingModeState::AfterRead;
    JobRunner runner(context_, document_.sharedJobLog(), MakeOperationExecutor(context_, document_),
                     events_);
    EXPECT_EQ(Run(runner, JobKind::RestoreOnline), sid::kStatusSucceed);
    EXPECT_EQ(CommandsOf(0), std::vector<std::string>{"ZSR"});
}

TEST_F(EngineTest, RestoreOverAListRestartsEveryPrinterTheRunWasAskedTo) {
    StartPrinters(3, 1000);
    UseMultiLan(3);
    context_.settingModeState = SettingModeState::AfterChange;
    JobRunner runner(context_, document_.sharedJobLog(), MakeOperationExecutor(context_, document_),
                     events_);
    EXPECT_EQ(Run(runner, JobKind::RestoreOnline), sid::kStatusSucceed);
    for (int printer = 0; printer < 3; ++printer) {
        const std::vector<std::string> commands = CommandsOf(printer);
        ASSERT_FALSE(commands.empty()) << "printer " << printer;
        EXPECT_EQ(commands.front(), "ZSE")
            << "printer " << printer;  // then the status after the restart
        EXPECT_EQ(std::count(commands.begin(), commands.end(), "ZSR"), 0) << "printer " << printer;
    }
    EXPECT_EQ(context_.settingModeState, SettingModeState::Online);
}

TEST_F(EngineTest, MoreWorkersThanFiveWhenTheFrontEndAsks) {
    StartPrinters(8, 1000);
    UseMultiLan(8);
    JobRunner runner(context_, document_.sharedJobLog(), MakeOperationExecutor(context_, document_),
                     events_);
    runner.SetMaxWorkers(8);
    EXPECT_EQ(Run(runner, JobKind::RestoreOnline), sid::kStatusSucceed);
    EXPECT_GT(runner.maxConcurrent(), JobRunner::kMaxWorkers);
    runner.SetMaxWorkers(1);
    EXPECT_EQ(Run(runner, JobKind::RestoreOnline), sid::kStatusSucceed);
    EXPECT_EQ(runner.maxConcurrent(), 1);
}

TEST_F(EngineTest, PrinterResetSendsResetAndLeaveInOneWriteAndWaitsForThePrinter) {
    StartPrinters(1, 1000);
    UseLan(0);
    context_.settingModeState = SettingModeState::AfterRead;
    JobRunner runner(context_, document_.sharedJobLog(), MakeOperationExecutor(context_, document_),
                     events_);
    EXPECT_EQ(Run(runner, JobKind::PrinterReset), sid::kStatusSucceed);
    const auto commands = CommandsOf(0);
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[0], "WR");
    EXPECT_EQ(commands[1], "ZSE");
    EXPECT_EQ(context_.settingModeState, SettingModeState::Online);
    EXPECT_EQ(events_.Lines(0).back(), "Printer Reset , Succeed");
}

TEST_F(EngineTest, EightPrintersNeverMoreThanFiveAtOnce) {
    StartPrinters(8, 1000);
    UseMultiLan(8);
    JobRunner runner(context_, document_.sharedJobLog(), MakeOperationExecutor(context_, document_),
                     events_);
    EXPECT_EQ(Run(runner, JobKind::PrinterReset), sid::kStatusSucceed);
    EXPECT_EQ(runner.printerStates(), std::vector<int>(8, kPrinterSucceeded));
    // Each job's span on the printer side: its first and last command.
    std::map<int, std::pair<std::int64_t, std::int64_t>> spans;
    for (const auto& e : server_.log().Entries()) {
        auto [it, added] = spans.emplace(e.printer, std::make_pair(e.timeMs, e.timeMs));
        it->second.second = std::max(it->second.second, e.timeMs);
    }
    ASSERT_EQ(spans.size(), 8u);
    int most = 0;
    for (const auto& [p, span] : spans) {
        int overlapping = 0;
        for (const auto& [q, other] : spans)
            overlapping += other.first <= span.first && span.first <= other.second;
        most = std::max(most, overlapping);
    }
    EXPECT_LE(most, 5);
    EXPECT_EQ(runner.maxConcurrent(), 5);
    EXPECT_EQ(events_.Lines(7).back(), "[127.0.0.1]Printer Reset , Succeed");
}

TEST_F(EngineTest, OneSilentPrinterFailsTheRunAndRetryRunsOnlyIt) {
    StartPrinters(3, 1000);
    sim::FaultPlan silent;
    silent.neverAnswer = {"ZSR", "WS"};  // no mode reply, and no status to fall back on
    server_.SetFaults(1, silent);
    UseMultiLan(3);
    context_.settingModeState = SettingModeState::AfterRead;
    JobRunner runner(context_, document_.sharedJobLog(), MakeOperationExecutor(context_, document_),
                     events_);
    EXPECT_EQ(Run(runner, JobKind::RestoreOnline), sid::kStatusFail);
    EXPECT_EQ(runner.printerStates(),
              (std::vector<int>{kPrinterSucceeded, kPrinterFailed, kPrinterSucceeded}));
    EXPECT_EQ(events_.Lines(1).back(), "[127.0.0.1]Restore to Online , Fail , Mode shift error");

    server_.SetFaults(1, sim::FaultPlan{});
    const auto before = server_.log().Entries().size();
    ASSERT_TRUE(runner.Retry());
    EXPECT_TRUE(runner.WaitForWorkers(600000));
    EXPECT_EQ(runner.overallResult(), sid::kStatusSucceed);
    const auto entries = server_.log().Entries();
    for (std::size_t i = before; i < entries.size(); ++i) EXPECT_EQ(entries[i].printer, 1);
}

TEST_F(EngineTest, CancelDuringAWaitLogsCancelOnce) {
    StartPrinters(1);
    sim::FaultPlan silent;
    silent.neverAnswer = {"ZSR"};
    server_.SetFaults(0, silent);
    UseLan(0);
    ::setenv("RVQ_TIME_SCALE", "1", 1);  // a real 7 s mode wait, which the cancel must cut short
    context_.settingModeState = SettingModeState::AfterRead;
    JobRunner runner(context_, document_.sharedJobLog(), MakeOperationExecutor(context_, document_),
                     events_);
    ASSERT_TRUE(runner.Start(Inputs(JobKind::RestoreOnline)));
    ASSERT_TRUE(server_.log().WaitFor([](const auto& e) { return !e.empty(); }, 5s));
    const auto cancelledAt = std::chrono::steady_clock::now();
    runner.RequestCancel();
    EXPECT_TRUE(runner.WaitForWorkers(30000));
    EXPECT_LT(std::chrono::steady_clock::now() - cancelledAt, 3s);
    EXPECT_EQ(runner.overallResult(), sid::kStatusCancel);
    const auto lines = events_.Lines(0);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Restore to Online , Cancel"), 1);
    EXPECT_EQ(lines.back(), "Restore to Online , Cancel");
}

TEST_F(EngineTest, ReadyCheckReportsPerMode) {
    StartPrinters(2);
    sim::FaultPlan busy;
    busy.errorStatus = 6;
    server_.SetFaults(1, busy);
    const struct {
        int printer;
        int mode;
        bool ok;
        const char* line;
    } cases[] = {
        {0, kReadyModeIdle, true, ""},
        {1, kReadyModeIdle, false, "Get Parameter , Fail , The printer is not in idle state. (06)"},
        {1, kReadyModeAny, false, "Get Parameter , Fail , An error (06) occurred on the printer."},
    };
    for (const auto& c : cases) {
        Sink sink;
        const JobSetup setup = SingleSetup(c.printer);
        JobReporter reporter(context_.strings, sink, context_.cancelRequested, "LAN", 785, false,
                             0);
        PrinterJob job(setup, reporter, context_);
        ASSERT_TRUE(job.OpenJobPort());
        EXPECT_EQ(job.CheckReady(c.mode), c.ok);
        if (!c.ok) {
            ASSERT_EQ(sink.display.size(), 1u);
            EXPECT_EQ(sink.display[0], c.line);
        }
    }
}

TEST_F(EngineTest, StepsSurviveSplitAndLateReplies) {
    StartPrinters(1);
    sim::FaultPlan awkward;
    awkward.splitBytes = 3;
    awkward.splitGapMs = 100;
    awkward.lateMs = 500;
    awkward.garbage = "\x05junk";
    server_.SetFaults(0, awkward);
    Sink sink;
    const JobSetup setup = SingleSetup(0);
    JobReporter reporter(context_.strings, sink, context_.cancelRequested, "LAN", 785, false, 0);
    PrinterJob job(setup, reporter, context_);
    ASSERT_TRUE(job.OpenJobPort());
    EXPECT_TRUE(job.CheckReady(kReadyModeIdle));
    job.PostProgress(10);
    EXPECT_TRUE(job.ModeShift(true, false, 40));
    EXPECT_EQ(context_.settingModeState, SettingModeState::AfterRead);
    EXPECT_EQ(sink.progress.back(), 50);
    EXPECT_TRUE(job.WaitReady(3000, false));
    EXPECT_TRUE(sink.display.empty());
}

TEST_F(EngineTest, CancellableWaitTakesWholeSteps) {
    StartPrinters(1);
    Sink sink;
    JobSetup setup = SingleSetup(0);
    setup.timeScale = 1.0;
    JobReporter reporter(context_.strings, sink, context_.cancelRequested, "LAN", 785, false, 0);
    PrinterJob job(setup, reporter, context_);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(job.CancellableWait(1));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 100ms);  // one whole 100 ms step
    context_.cancelRequested = true;
    EXPECT_FALSE(job.CancellableWait(5000));
    EXPECT_EQ(sink.display, std::vector<std::string>{"Get Parameter , Cancel"});
    context_.cancelRequested = false;
}

}  // namespace
}  // namespace rvq
