// A Multi-LAN Set Parameter over fifty simulated printers, one in ten
// faulty: every printer ends in the right state, never more than five are
// served at once, and Retry runs exactly the faulty ones again. One round
// in the normal run; RVQ_LOAD_ROUNDS=20 repeats it (the sanitizer phase of
// scripts/test --full does, under the leak checker).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/comm/ops/parameter_inputs.h"
#include "core/params/item_values.h"
#include "fault_bench.h"

namespace rvq {
namespace {

using test::JobBench;

constexpr int kPrinters = 50;
constexpr std::uint32_t kDisplayGroup = 4058;
constexpr int kContrast = 7;  // the model's default is 4

// The fault of printer `index`; every tenth printer has one, each a
// different way of failing a set.
std::optional<sim::FaultPlan> FaultOf(int index) {
    if (index % 10 != 3) return std::nullopt;
    sim::FaultPlan plan;
    switch (index / 10) {
        case 0:
            plan.neverAnswer = {"ZA"};
            break;  // the image commands unanswered
        case 1:
            plan.errorStatus = 6;
            break;  // not idle
        case 2:
            plan.dropAfterBytes = 12;
            break;  // link gone after the ready check
        case 3:
            plan.setAnswers = {{"ZA08", "92"}};
            break;  // the contrast refused
        default:
            plan.neverAnswer = {"WS"};
            break;  // silent from the start
    }
    return plan;
}

int Rounds() {
    const char* text = std::getenv("RVQ_LOAD_ROUNDS");
    return text != nullptr && ParseLeadingInt(text) > 0 ? ParseLeadingInt(text) : 1;
}

int StoredContrast(JobBench& bench, int index) {
    const int offset = FindItem(*bench.document.model(), "Contrast")->offset;
    std::string value;
    bench.server->Inspect(index,
                          [&](const sim::SimPrinter& p) { value = *p.store().Field(0, offset); });
    return ParseLeadingInt(value);
}

// Which printers took a command since log entry `from`.
std::set<int> PrintersReached(JobBench& bench, std::size_t from) {
    std::set<int> reached;
    const auto entries = bench.server->log().Entries();
    for (std::size_t i = from; i < entries.size(); ++i) reached.insert(entries[i].printer);
    return reached;
}

void OneRound(int round) {
    SCOPED_TRACE("round " + std::to_string(round));
    JobBench bench;
    ASSERT_TRUE(bench.Start({}, kPrinters, [](int i, sim::PrinterConfig& p) {
        if (auto plan = FaultOf(i)) p.faults = *plan;
    }));
    ParamItem& contrast = *FindItem(*bench.document.model(), "Contrast");
    contrast.numValue = kContrast;
    params::SetValueText(contrast, params::CommandText(contrast));

    const auto first = bench.Run(SetParameterJobInputs({kDisplayGroup}), 600000);
    ASSERT_TRUE(first.ended) << "a worker is stuck";
    EXPECT_EQ(bench.runner().runningWorkers(), 0);
    EXPECT_EQ(first.result, sid::kStatusFail);
    const auto states = bench.runner().printerStates();
    ASSERT_EQ(states.size(), static_cast<std::size_t>(kPrinters));
    std::set<int> faulty;
    for (int i = 0; i < kPrinters; ++i) {
        const bool bad = FaultOf(i).has_value();
        if (bad) faulty.insert(i);
        EXPECT_EQ(states[i], bad ? kPrinterFailed : kPrinterSucceeded) << "printer " << i;
        EXPECT_EQ(
            bench.events.Lines(i).back().find(bad ? "Set Parameter , Fail"
                                                  : "Set Parameter , Succeed") != std::string::npos,
            true)
            << bench.events.Lines(i).back();
        if (!bad) {
            EXPECT_EQ(StoredContrast(bench, i), kContrast) << "printer " << i;
        }
    }
    EXPECT_EQ(bench.runner().ErrorList().size(), faulty.size());
    const int mostFirst = bench.server->MostConnectedPrinters();
    EXPECT_LE(mostFirst, 5);
    EXPECT_LE(bench.runner().maxConcurrent(), 5);

    // The faults cleared, Retry runs the failed printers and no other.
    for (int i : faulty) bench.server->SetFaults(i, {});
    bench.server->ResetMostConnectedPrinters();
    const std::size_t before = bench.server->log().Entries().size();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(bench.runner().Retry());
    ASSERT_TRUE(bench.runner().WaitForWorkers(600000)) << "a worker is stuck";
    const auto retryMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - start)
                             .count();
    EXPECT_EQ(bench.runner().overallResult(), sid::kStatusSucceed);
    EXPECT_EQ(PrintersReached(bench, before), faulty);
    for (int i = 0; i < kPrinters; ++i)
        EXPECT_EQ(StoredContrast(bench, i), kContrast) << "printer " << i;
    EXPECT_LE(bench.server->MostConnectedPrinters(), 5);
    std::printf(
        "load round %d: 50 printers in %lld ms (most connected at once %d), "
        "retry of %zu in %lld ms\n",
        round, static_cast<long long>(first.realMs), mostFirst, faulty.size(),
        static_cast<long long>(retryMs));
}

TEST(MultiLanLoad, FiftyPrintersOneInTenFaultyAndRetry) {
    const int rounds = Rounds();
    for (int round = 1; round <= rounds && !HasFatalFailure(); ++round) OneRound(round);
}

}  // namespace
}  // namespace rvq
