// Every job kind that talks to a printer, against a simulated printer that
// misbehaves in one way at a time: the job must end with the right line,
// within its time-outs, with its connection closed and no file half written.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/string_ids.h"
#include "core/builders/basic_encoder.h"
#include "core/builders/download_image.h"
#include "core/builders/rom_list.h"
#include "core/builders/test_print.h"
#include "core/comm/job/job_runner.h"
#include "core/comm/ops/download_inputs.h"
#include "core/comm/ops/maintenance_inputs.h"
#include "core/comm/ops/maintenance_operations.h"
#include "core/comm/ops/operations.h"
#include "core/comm/ops/parameter_inputs.h"
#include "fault_bench.h"
#include "rom_files.h"
#include "sim/sim_server.h"
#include "sim_process.h"
#include "support/recording_job_events.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "tool_process.h"

namespace rvq {
namespace {

using namespace std::chrono_literals;
using test::JobBench;
using Clk = std::chrono::steady_clock;

// What a job of one kind needs and where it waits.
struct KindCase {
    const char* name;
    std::function<std::shared_ptr<JobInputs>(JobBench&)> inputs;
    std::string silenced;   // the request whose answer the job waits for mid-way
    std::string cancelAt;   // a request after which the job waits (empty: a byte count)
    long long midBytes;     // a byte count well inside what the job sends
    const char* savedFile;  // the file the job writes, if any
};

std::vector<KindCase> Kinds() {
    using Sub = InfoSubKind;
    auto info = [](Sub sub, const char* file) {
        return [sub, file](JobBench& b) {
            return PrinterInfoJobInputs(static_cast<unsigned>(sub), b.dir.File(file));
        };
    };
    return {
        {"get parameter", [](JobBench& b) { return b.GetParameters(); }, "ZC", "ZC", 40, nullptr},
        {"set parameter", [](JobBench&) { return SetParameterJobInputs({4000}); }, "ZB", "ZB", 20,
         nullptr},
        {"firmware download", [](JobBench& b) { return b.Firmware(); }, "LP;", "LD;", 100000,
         nullptr},
        {"basic download", [](JobBench& b) { return b.Basic(); }, "WS", "LDB;", 25, nullptr},
        {"send file", [](JobBench& b) { return b.SendFile(); }, "", "", 100000, nullptr},
        {"save information", info(Sub::SavePrinterInfo, "info.txt"), "ZLR10", "ZLR10", 20,
         "info.txt"},
        {"data log", info(Sub::DataLogging, "datalog.bin"), "ZLR00", "ZLR00", 8, "datalog.bin"},
        {"test print", [](JobBench& b) { return b.TestPrint(); }, "WS", "WS", 100, nullptr},
    };
}

constexpr const char* kEarlier = "what the file held before the job";

// What a case expects of each kind, in the order of Kinds(): the last line
// shown (its status word decides the result).
using Expected = std::vector<std::string>;

// A line without the system's error number, which depends on how the link
// went down (reset or broken pipe).
std::string WithoutErrno(const std::string& line) {
    const std::size_t at = line.find("Communication error (");
    return at == std::string::npos ? line : line.substr(0, at + 19);
}

int ResultOf(const std::string& line) {
    if (line.find(" , Succeed") != std::string::npos) return sid::kStatusSucceed;
    if (line.find(" , Cancel") != std::string::npos) return sid::kStatusCancel;
    return sid::kStatusFail;
}

// Runs every kind against printers set up by `faults` and checks the
// outcome: the expected line, the same result in the job log, the job
// ended within its time-outs, the connection closed, and a file the job
// writes either whole or untouched.
void RunEveryKind(const std::function<sim::FaultPlan(const KindCase&)>& faults,
                  const Expected& expected, bool cancelInTheWait = false) {
    const auto kinds = Kinds();
    ASSERT_EQ(expected.size(), kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const KindCase& k = kinds[i];
        SCOPED_TRACE(k.name);
        JobBench bench;
        ASSERT_TRUE(bench.Start(faults(k)));
        if (k.savedFile) bench.dir.Write(k.savedFile, kEarlier);
        const auto inputs = k.inputs(bench);
        ASSERT_NE(inputs, nullptr);
        std::function<bool()> cancelWhen;
        if (cancelInTheWait) {
            cancelWhen = [&bench, &k] {
                return k.cancelAt.empty() ? bench.server->ReceivedStream(0).first >= k.midBytes
                                          : bench.Received(k.cancelAt);
            };
        }
        // 16 MB sent under a sanitizer take seconds: a generous limit that
        // still catches a job that never ends.
        const auto outcome = bench.Run(inputs, 3000000, cancelWhen);
        std::printf("   %-18s %-70s %5lld ms\n", k.name, outcome.last().c_str(),
                    static_cast<long long>(outcome.realMs));
        ASSERT_TRUE(outcome.ended) << "still running after 3000 s of protocol time";
        EXPECT_EQ(WithoutErrno(outcome.last()), WithoutErrno(expected[i]));
        const int result = ResultOf(expected[i]);
        EXPECT_EQ(outcome.result, result);
        const char* word = result == sid::kStatusSucceed  ? ",Succeed"
                           : result == sid::kStatusCancel ? ",Cancel"
                                                          : ",Fail";
        EXPECT_NE(outcome.logLine.find(word), std::string::npos) << outcome.logLine;
        // A printer that stopped taking data sees the close only once it
        // reads again.
        bench.server->SetFaults(0, {});
        EXPECT_TRUE(bench.server->WaitUntilDisconnected(0, 5s)) << "the tool kept its connection";
        if (k.savedFile) {
            const std::string now = test::ReadAll(bench.dir.File(k.savedFile));
            if (result == sid::kStatusSucceed)
                EXPECT_NE(now, kEarlier);
            else
                EXPECT_EQ(now, kEarlier) << "a failed job changed the file";
        }
    }
}

// A printer that never answers the kind's request; for a file sent as it
// is, which nothing answers, one that stops taking data.
sim::FaultPlan Silent(const KindCase& k) {
    sim::FaultPlan plan;
    if (k.silenced.empty())
        plan.stallAfterBytes = k.midBytes;
    else
        plan.neverAnswer = {k.silenced};
    return plan;
}

// The printer ignores the request after which the job waits (or stops
// taking data), so the cancel lands in that wait.
sim::FaultPlan SilentAtTheCancel(const KindCase& k) {
    sim::FaultPlan plan;
    if (k.cancelAt.empty())
        plan.stallAfterBytes = k.midBytes;
    else
        plan.neverAnswer = {k.cancelAt};
    return plan;
}

TEST(FaultInjection, NoAnswer) {
    RunEveryKind(Silent,
                 Expected{
                     "Get Parameter , Fail , Obtaining the printer settings failed.(General/XML)",
                     "Set Parameter , Fail , Obtaining the printer settings failed.(General/Image)",
                     "Firmware Download , Fail , Timeout error",
                     "BASIC Download , Fail , Cannot confirm the printer is in online mode.",
                     "Send File , Fail , Communication error",
                     "Save Printer Info , Fail , Timeout error",
                     "Data Logging , Fail , Timeout error",
                     "Test Print , Fail , Cannot confirm the printer is in online mode.",
                 });
}

TEST(FaultInjection, LateAnswer) {
    RunEveryKind(
        [](const KindCase&) {
            sim::FaultPlan plan;
            plan.lateMs = 500;
            return plan;
        },
        Expected{
            "Get Parameter , Succeed",
            "Set Parameter , Succeed",
            "Firmware Download , Succeed",
            "BASIC Download , Succeed",
            "Send File , Succeed",
            "Save Printer Info , Succeed",
            "Data Logging , Succeed",
            "Test Print , Succeed",
        });
}

TEST(FaultInjection, SplitFrames) {
    RunEveryKind(
        [](const KindCase&) {
            sim::FaultPlan plan;
            plan.splitBytes = 3;
            plan.splitGapMs = 20;
            return plan;
        },
        Expected{
            "Get Parameter , Succeed",
            "Set Parameter , Succeed",
            "Firmware Download , Succeed",
            "BASIC Download , Succeed",
            "Send File , Succeed",
            "Save Printer Info , Succeed",
            "Data Logging , Succeed",
            "Test Print , Succeed",
        });
}

TEST(FaultInjection, GarbageBeforeFrames) {
    RunEveryKind(
        [](const KindCase&) {
            sim::FaultPlan plan;
            plan.garbage = "\x05junk\x15";
            return plan;
        },
        Expected{
            "Get Parameter , Succeed",
            "Set Parameter , Succeed",
            "Firmware Download , Fail , Communication error",
            "BASIC Download , Succeed",
            "Send File , Succeed",
            "Save Printer Info , Fail , Communication error",
            "Data Logging , Fail , Communication error",
            "Test Print , Succeed",
        });
}

TEST(FaultInjection, LinkDroppedMidTransfer) {
    RunEveryKind(
        [](const KindCase& k) {
            sim::FaultPlan plan;
            plan.dropAfterBytes = k.midBytes;
            return plan;
        },
        Expected{
            "Get Parameter , Fail , Obtaining the printer settings failed.(RFID/UHF Setting)",
            // One line, split where it is too long for the page.
            // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
            "Set Parameter , Fail , Updating the printer settings failed.(General/Image/Character "
            "Code)",
            "Firmware Download , Fail , Communication error (104)",
            "BASIC Download , Fail , Communication error (32)",
            "Send File , Fail , Communication error (104)",
            "Save Printer Info , Fail , Communication error",
            "Data Logging , Fail , Communication error",
            "Test Print , Fail , Communication error (104)",
        });
}

TEST(FaultInjection, PrinterRestartsMidTransfer) {
    RunEveryKind(
        [](const KindCase& k) {
            sim::FaultPlan plan;
            plan.dropAfterBytes = k.midBytes;
            plan.dropRestarts = true;
            return plan;
        },
        Expected{
            "Get Parameter , Fail , Obtaining the printer settings failed.(RFID/UHF Setting)",
            // One line, split where it is too long for the page.
            // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
            "Set Parameter , Fail , Updating the printer settings failed.(General/Image/Character "
            "Code)",
            "Firmware Download , Fail , Communication error (104)",
            "BASIC Download , Fail , Communication error (32)",
            "Send File , Fail , Communication error (104)",
            "Save Printer Info , Fail , Communication error",
            "Data Logging , Fail , Communication error",
            "Test Print , Fail , Communication error (104)",
        });
}

TEST(FaultInjection, ErrorStatus) {
    RunEveryKind(
        [](const KindCase&) {
            sim::FaultPlan plan;
            plan.errorStatus = 6;
            return plan;
        },
        Expected{
            "Get Parameter , Fail , The printer is not in idle state. (06)",
            "Set Parameter , Fail , The printer is not in idle state. (06)",
            "Firmware Download , Fail , The printer is not in idle state. (06)",
            "BASIC Download , Fail , The printer is not in idle state. (06)",
            "Send File , Succeed",
            "Save Printer Info , Fail , The printer is not in idle state. (06)",
            "Data Logging , Succeed",
            "Test Print , Fail , The printer is not in idle state. (06)",
        });
}

TEST(FaultInjection, CancelWhileWaitingForTheAnswer) {
    RunEveryKind(SilentAtTheCancel,
                 Expected{
                     "Get Parameter , Cancel",
                     "Set Parameter , Cancel",
                     "Firmware Download , Cancel",
                     "BASIC Download , Cancel",
                     "Send File , Cancel",
                     "Save Printer Info , Cancel",
                     "Data Logging , Cancel",
                     "Test Print , Cancel",
                 },
                 true);
}

// The waits for a restarting printer: the cancel ends them too.
TEST(FaultInjection, CancelWhileThePrinterRestarts) {
    const struct {
        const char* name;
        std::function<std::shared_ptr<JobInputs>(JobBench&)> inputs;
        const char* line;
    } cases[] = {
        {"firmware", [](JobBench& b) { return b.Firmware(); }, "Firmware Download , Cancel"},
        {"basic", [](JobBench& b) { return b.Basic(); }, "BASIC Download , Cancel"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        JobBench bench;
        // Away for 1000 s of protocol time: only the cancel ends the wait early.
        ASSERT_TRUE(bench.Start({}, 1, [](int, sim::PrinterConfig& p) { p.restartMs = 1000000; }));
        const auto outcome =
            bench.Run(c.inputs(bench), 2000000, [&] { return bench.server->Down(0); });
        ASSERT_TRUE(outcome.ended);
        EXPECT_EQ(outcome.last(), c.line);
        EXPECT_EQ(outcome.result, sid::kStatusCancel);
        EXPECT_LT(outcome.realMs, Clock(test::kFaultScale).ToRealMs(1000000))
            << "the restart wait ran out";
    }
}

// A simulator in its own process, killed outright in the middle of a
// firmware download: the job fails within its time-outs and a later status
// request fails at once.
TEST(FaultInjection, SimulatorKilledOutright) {
    test::TempDir dir;
    const std::string log = dir.File("commands.jsonl");
    test::SimProcess sim({"--restart-ms", "1000", "--log", log, "--lan", "127.0.0.1:0"},
                         {"RVQ_TIME_SCALE=0.01"});
    const int port = sim.WaitForPort(10s);
    ASSERT_GT(port, 0);

    JobBench bench;
    ASSERT_TRUE(bench.StartAgainst(port));
    // Killed once the load command is in, while the image is on its way;
    // the condition never asks for a cancel.
    const auto outcome = bench.Run(bench.Firmware(), 300000, [&] {
        if (!sim.killed() && test::ReadAll(log).find("LD;") != std::string::npos) sim.Kill();
        return false;
    });
    ASSERT_TRUE(sim.killed());
    ASSERT_TRUE(outcome.ended);
    EXPECT_EQ(outcome.result, sid::kStatusFail);
    EXPECT_EQ(outcome.last().rfind("Firmware Download , Fail , ", 0), 0u) << outcome.last();
    EXPECT_NE(outcome.logLine.find(",Fail"), std::string::npos) << outcome.logLine;

    const test::ToolRun status =
        test::RunTool({"--lan", "127.0.0.1:" + std::to_string(port), "status"}, dir.path(),
                      {"RVQ_TIME_SCALE=0.01"});
    EXPECT_NE(status.exitCode, 0);
    EXPECT_NE(status.exitCode, -1) << "status did not end by itself";
    EXPECT_FALSE(status.err.empty());
}

}  // namespace
}  // namespace rvq
