#include "core/comm/port/status_query.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/app/tool_settings.h"
#include "core/comm/port/framing.h"
#include "sim/sim_server.h"

namespace rvq {
namespace {

// Three printers: ready, reporting error 06, and one that never answers.
class StatusOfAList : public ::testing::Test {
protected:
    void SetUp() override {
        sim::PrinterSetup setup;
        server_.AddPrinter(setup);
        setup.printer.faults.errorStatus = 6;
        server_.AddPrinter(setup);
        setup.printer.faults = {};
        setup.printer.faults.neverAnswer = {"WS"};
        server_.AddPrinter(setup);
        std::string error;
        ASSERT_TRUE(server_.Start(error)) << error;
    }
    Connection Printer(int index) {
        return {"LAN", "127.0.0.1," + std::to_string(server_.Port(index))};
    }

    sim::SimServer server_{Clock(0.01)};
    const StatusQuery query_{BuildFixedCommands(ControlCodes{}).statusRequest, 1000};
};

TEST_F(StatusOfAList, EveryPrinterIsAskedOnceInListOrderWithTheStatusRequestOnly) {
    const std::vector<Connection> printers = {
        Printer(2), Printer(0), Printer(1), Printer(0), {"LAN", "127.0.0.9,1"}};
    std::mutex heardMutex;
    std::vector<std::vector<StatusAnswer>> heard(printers.size());
    const std::vector<StatusAnswer> answers = AskStatusAll(
        printers, query_, Clock(0.01), 2, nullptr, [&](std::size_t i, const StatusAnswer& a) {
            const std::lock_guard lock(heardMutex);
            heard.at(i).push_back(a);
        });
    ASSERT_EQ(answers.size(), printers.size());
    for (std::size_t i = 0; i < printers.size(); ++i) {
        ASSERT_EQ(heard[i].size(), 1u) << "printer " << i << " is told of once";
        EXPECT_EQ(heard[i][0].outcome, answers[i].outcome);
        EXPECT_EQ(heard[i][0].settings, answers[i].settings);
    }
    EXPECT_EQ(answers[0].outcome, StatusOutcome::NoAnswer);
    EXPECT_EQ(answers[1].outcome, StatusOutcome::Answered);
    EXPECT_TRUE(answers[1].ready());
    EXPECT_EQ(answers[2].status, 6);
    EXPECT_FALSE(answers[2].ready());
    EXPECT_EQ(answers[3].settings, printers[3].settings) << "a repeated entry shares the answer";
    EXPECT_TRUE(answers[3].ready());
    EXPECT_EQ(answers[4].outcome, StatusOutcome::OpenFailed);

    std::vector<int> asked(3, 0);
    for (const sim::LogEntry& e : server_.log().Entries()) {
        EXPECT_EQ(e.command.text, "WS");
        ++asked[static_cast<std::size_t>(e.printer)];
    }
    EXPECT_EQ(asked, (std::vector<int>{1, 1, 1})) << "the same printer is never asked twice";
    EXPECT_LE(server_.MostConnectedPrinters(), 2);
}

TEST_F(StatusOfAList, ACancelLeavesTheRestUnasked) {
    std::atomic<bool> cancel{true};
    std::atomic<int> heard{0};
    const std::vector<StatusAnswer> answers =
        AskStatusAll({Printer(0), Printer(1)}, query_, Clock(0.01), 5, &cancel,
                     [&](std::size_t, const StatusAnswer& a) {
                         EXPECT_EQ(a.outcome, StatusOutcome::Cancelled);
                         ++heard;
                     });
    for (const StatusAnswer& a : answers) EXPECT_EQ(a.outcome, StatusOutcome::Cancelled);
    EXPECT_EQ(heard, 2) << "the printers left unasked are told of too";
    EXPECT_TRUE(server_.log().Entries().empty());

    // A cancel during the wait for a silent printer ends the wait.
    cancel = false;
    std::thread stopper([&] {
        server_.log().WaitFor([](const auto& entries) { return !entries.empty(); },
                              std::chrono::seconds(5));
        cancel = true;
    });
    const StatusAnswer silent =
        AskStatus(Printer(2), {query_.request, 600000}, Clock(1.0), &cancel);
    stopper.join();
    EXPECT_EQ(silent.outcome, StatusOutcome::Cancelled);
}

}  // namespace
}  // namespace rvq
