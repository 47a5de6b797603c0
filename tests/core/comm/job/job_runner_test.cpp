#include "core/comm/job/job_runner.h"

#include <gtest/gtest.h>

#include "support/recording_job_events.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>

#include "core/app/app_context.h"
#include "core/app/job_log.h"
#include "core/app/string_ids.h"
#include "core/comm/job/job_events.h"
#include "core/comm/job/job_reporter.h"

namespace rvq {
namespace {

using namespace std::chrono_literals;

// Polls a condition that no callback reports, up to a bounded deadline.
template <typename Predicate>
bool WaitUntil(Predicate done) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Jobs that hold until the test opens the gate, recording what ran at once.
class GatedExecutor : public JobExecutor {
public:
    bool Run(const JobSetup& setup, JobReporter& job) override {
        job.LogStatus(1500);
        {
            std::unique_lock lock(mutex_);
            ++active_;
            for (const auto& other : activeTargets_)
                sameTargetOverlap_ |= other == setup.connection.settings;
            activeTargets_.insert(setup.connection.settings);
            maxActive_ = std::max(maxActive_, active_);
            ran_.push_back(setup.printerIndex);
            changed_.notify_all();
            // Real jobs poll the cancel flag between steps; so does this one.
            while (!open_ && !(honourCancel_ && job.cancelRequested()))
                changed_.wait_for(lock, 1ms);
            --active_;
            activeTargets_.erase(activeTargets_.find(setup.connection.settings));
        }
        if (job.CancelCheck()) return false;
        if (failing_.count(setup.printerIndex)) {
            job.Fail(sid::kDetailNoConnection, 111);
            return false;
        }
        job.LogStatus(1501);
        return true;
    }

    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    void Fail(std::set<int> indexes) {
        std::lock_guard lock(mutex_);
        failing_ = std::move(indexes);
    }
    void IgnoreCancel() {
        std::lock_guard lock(mutex_);
        honourCancel_ = false;
    }
    // Waits (bounded) until `count` jobs are held at the gate.
    bool WaitActive(int count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 10s, [&] { return active_ == count; });
    }
    int maxActive() {
        std::lock_guard lock(mutex_);
        return maxActive_;
    }
    bool sameTargetOverlap() {
        std::lock_guard lock(mutex_);
        return sameTargetOverlap_;
    }
    std::vector<int> ran() {
        std::lock_guard lock(mutex_);
        return ran_;
    }
    void ClearRan() {
        std::lock_guard lock(mutex_);
        ran_.clear();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
    bool honourCancel_ = true;
    int active_ = 0;
    int maxActive_ = 0;
    bool sameTargetOverlap_ = false;
    std::multiset<std::string> activeTargets_;
    std::set<int> failing_;
    std::vector<int> ran_;
};

using RecordingEvents = test::RecordingJobEvents;

class JobRunnerTest : public ::testing::Test {
protected:
    // Workers use the application context to their last step.
    void TearDown() override {
        EXPECT_TRUE(WaitUntil([&] { return !context_.jobRunning; }));
    }

    void UseMultiLan(const std::vector<std::pair<std::string, int>>& printers) {
        context_.settings.interfaceName = "Multi LAN";
        for (const auto& [host, port] : printers) {
            context_.settings.multiLanHosts.push_back(host);
            context_.settings.multiLanPorts.push_back(port);
        }
    }
    std::shared_ptr<JobInputs> Inputs(JobKind kind) {
        auto inputs = std::make_shared<JobInputs>();
        inputs->kind = kind;
        return inputs;
    }

    AppContext context_;
    std::shared_ptr<JobLog> log_ = std::make_shared<JobLog>();
    std::shared_ptr<GatedExecutor> executor_ = std::make_shared<GatedExecutor>();
    RecordingEvents events_;
};

TEST_F(JobRunnerTest, EightPrintersRunFiveAtATimeAndAllFinish) {
    std::vector<std::pair<std::string, int>> printers;
    for (int i = 1; i <= 8; ++i) printers.emplace_back("10.0.0." + std::to_string(i), 8000);
    UseMultiLan(printers);
    JobRunner runner(context_, log_, executor_, events_);
    ASSERT_TRUE(runner.Start(Inputs(JobKind::PrinterReset)));
    ASSERT_TRUE(executor_->WaitActive(5));
    EXPECT_EQ(runner.runningWorkers(), 5);
    EXPECT_TRUE(context_.jobRunning);
    EXPECT_EQ(runner.progressRange(), 800);
    executor_->Open();
    EXPECT_EQ(events_.WaitFinished(1), std::vector<bool>{false});
    EXPECT_TRUE(runner.WaitForWorkers(10000));
    EXPECT_EQ(executor_->maxActive(), 5);
    EXPECT_EQ(runner.printerStates(), std::vector<int>(8, kPrinterSucceeded));
    EXPECT_EQ(runner.overallResult(), sid::kStatusSucceed);
    EXPECT_EQ(runner.state(), RunState::Succeeded);
    EXPECT_EQ(runner.progressTotal(), 800);
    EXPECT_FALSE(context_.jobRunning);
    EXPECT_EQ(log_->Lines().size(), 16u);  // Start and Succeed for each printer
    EXPECT_EQ(log_->titleId(), 783);
    EXPECT_TRUE(log_->multiLan());
}

TEST_F(JobRunnerTest, SameHostAndPortNeverRunTogether) {
    UseMultiLan({{"10.0.0.1", 8000}, {"10.0.0.1", 8000}, {"10.0.0.1", 8001}, {"10.0.0.1", 8000}});
    JobRunner runner(context_, log_, executor_, events_);
    ASSERT_TRUE(runner.Start(Inputs(JobKind::PrinterReset)));
    ASSERT_TRUE(executor_->WaitActive(2));  // one per distinct host and port
    EXPECT_EQ(runner.printerStates(), (std::vector<int>{kPrinterInProgress, kPrinterWaiting,
                                                        kPrinterInProgress, kPrinterWaiting}));
    executor_->Open();
    events_.WaitFinished(1);
    EXPECT_TRUE(runner.WaitForWorkers(10000));
    EXPECT_FALSE(executor_->sameTargetOverlap());
    EXPECT_EQ(runner.printerStates(), std::vector<int>(4, kPrinterSucceeded));
}

TEST_F(JobRunnerTest, UnselectedPrintersNeverRun) {
    std::vector<std::pair<std::string, int>> printers;
    for (int i = 1; i <= 8; ++i) printers.emplace_back("h" + std::to_string(i), 9100);
    UseMultiLan(printers);
    JobRunner runner(context_, log_, executor_, events_);
    executor_->Open();
    ASSERT_TRUE(runner.Start(Inputs(JobKind::PrinterReset),
                             {true, false, true, false, true, false, true, true}));
    events_.WaitFinished(1);
    EXPECT_TRUE(runner.WaitForWorkers(10000));
    EXPECT_EQ(runner.progressRange(), 500);
    auto ran = executor_->ran();
    std::sort(ran.begin(), ran.end());
    EXPECT_EQ(ran, (std::vector<int>{0, 2, 4, 6, 7}));
    EXPECT_EQ(runner.printerStates()[1], kPrinterExcluded);
    EXPECT_FALSE(runner.Start(Inputs(JobKind::PrinterReset), std::vector<bool>(8, false)));
}

TEST_F(JobRunnerTest, OneFailureFailsTheRunAndRetryRunsExactlyTheFailed) {
    UseMultiLan({{"a", 1}, {"b", 2}, {"c", 3}});
    JobRunner runner(context_, log_, executor_, events_);
    executor_->Fail({1});
    executor_->Open();
    ASSERT_TRUE(runner.Start(Inputs(JobKind::CounterClear)));
    EXPECT_EQ(events_.WaitFinished(1), std::vector<bool>{true});
    EXPECT_TRUE(runner.WaitForWorkers(10000));
    EXPECT_EQ(runner.overallResult(), sid::kStatusFail);
    EXPECT_EQ(runner.state(), RunState::Failed);
    EXPECT_EQ(runner.ErrorList(), (std::vector<LanPrinter>{{"b", 2}}));
    EXPECT_EQ(events_.Lines(1).back(),
              "[b]Maintenance Counter Clear , Fail , No printer connection is detected. (111)");

    executor_->ClearRan();
    executor_->Fail({});
    ASSERT_TRUE(runner.Retry());
    EXPECT_EQ(events_.WaitFinished(2), (std::vector<bool>{true, false}));
    EXPECT_TRUE(runner.WaitForWorkers(10000));
    EXPECT_EQ(executor_->ran(), std::vector<int>{1});
    EXPECT_EQ(runner.printerStates(), std::vector<int>(3, kPrinterSucceeded));
}

TEST_F(JobRunnerTest, CancelledRunEndsCancelAndEachJobLogsCancelOnce) {
    UseMultiLan({{"a", 1}, {"b", 1}, {"c", 1}, {"d", 1}, {"e", 1}, {"f", 1}, {"g", 1}});
    JobRunner runner(context_, log_, executor_, events_);
    ASSERT_TRUE(runner.Start(Inputs(JobKind::PrinterReset)));
    ASSERT_TRUE(executor_->WaitActive(5));
    runner.RequestCancel();
    EXPECT_TRUE(runner.WaitForWorkers(30000));
    EXPECT_EQ(events_.WaitFinished(1), std::vector<bool>{true});
    EXPECT_EQ(runner.overallResult(), sid::kStatusCancel);
    const auto states = runner.printerStates();
    EXPECT_EQ(std::count(states.begin(), states.end(), kPrinterFailed), 5);
    EXPECT_EQ(std::count(states.begin(), states.end(), kPrinterWaiting), 2);  // never started
    for (int i = 0; i < 7; ++i) {
        const auto lines = events_.Lines(i);
        EXPECT_EQ(std::count_if(
                      lines.begin(), lines.end(),
                      [](const std::string& l) { return l.find(", Cancel") != std::string::npos; }),
                  states[static_cast<std::size_t>(i)] == kPrinterFailed ? 1 : 0);
    }
    // Retry takes the cancelled and the waiting printers.
    executor_->ClearRan();
    executor_->Open();
    ASSERT_TRUE(runner.Retry());
    events_.WaitFinished(2);
    EXPECT_TRUE(runner.WaitForWorkers(10000));
    EXPECT_EQ(executor_->ran().size(), 7u);
    EXPECT_EQ(runner.overallResult(), sid::kStatusSucceed);
}

TEST_F(JobRunnerTest, StuckWorkerOutlivesItsRunnerSafely) {
    context_.settings.interfaceName = "LAN";
    context_.settings.lanHost = "10.0.0.9";
    executor_->IgnoreCancel();
    {
        JobRunner runner(context_, log_, executor_, events_);
        ASSERT_TRUE(runner.Start(Inputs(JobKind::GetParameter)));
        ASSERT_TRUE(executor_->WaitActive(1));
        runner.RequestCancel();
        EXPECT_FALSE(runner.WaitForWorkers(300));  // gives up: the dialog becomes closable
        EXPECT_TRUE(context_.jobRunning);
        JobRunner second(context_, log_, executor_, events_);
        EXPECT_FALSE(second.Start(Inputs(JobKind::GetParameter)));  // nothing starts meanwhile
    }
    const auto linesBefore = events_.Lines(0).size();
    executor_->Open();  // the worker ends after its runner is gone
    EXPECT_TRUE(WaitUntil([&] { return !context_.jobRunning; }));
    EXPECT_EQ(events_.Lines(0).size(), linesBefore);  // no events to a front end that has gone
    EXPECT_EQ(log_->Lines().back().substr(20), "10.0.0.9,Get Parameter,Cancel");
}

TEST_F(JobRunnerTest, SuccessfulRestoreToOnlineAsksToClose) {
    context_.settings.interfaceName = "COM1";
    JobRunner runner(context_, log_, executor_, events_);
    executor_->Open();
    ASSERT_TRUE(runner.Start(Inputs(JobKind::RestoreOnline)));
    EXPECT_EQ(events_.WaitFinished(1), std::vector<bool>{false});
    EXPECT_TRUE(runner.WaitForWorkers(10000));
    EXPECT_EQ(events_.closeRequests(), 1);
    EXPECT_FALSE(log_->multiLan());
    EXPECT_EQ(log_->titleId(), 799);
}

TEST_F(JobRunnerTest, KindThirteenEndsWithoutAResult) {
    context_.settings.interfaceName = "COM1";
    JobRunner runner(context_, log_, executor_, events_);
    ASSERT_TRUE(runner.Start(Inputs(JobKind::None)));
    EXPECT_EQ(events_.WaitFinished(1), std::vector<bool>{true});
    EXPECT_TRUE(executor_->ran().empty());
    EXPECT_EQ(runner.overallResult(), 0);
}

TEST_F(JobRunnerTest, PreCheckMessages) {
    const struct {
        const char* interfaceName;
        const char* host;
        int usbCount;
        int message;
    } cases[] = {
        {"LAN", "", 0, 1003}, {"LAN", "h", 0, 0},    {"Multi LAN", "", 0, 1004},
        {"USB", "", 0, 1012}, {"USB", "", -1, 1012}, {"USB", "", 2, 1013},
        {"USB", "", 1, 0},    {"COM1", "", 0, 0},    {"LPT1", "", 0, 0},
    };
    for (const auto& c : cases) {
        context_.settings.interfaceName = c.interfaceName;
        context_.settings.lanHost = c.host;
        context_.settingModeState = SettingModeState::AfterChange;
        JobRunner runner(context_, log_, executor_, events_);
        std::string filterSeen;
        const int message = runner.PreCheck(JobKind::RestoreOnline, [&](const std::string& filter) {
            filterSeen = filter;
            return c.usbCount;
        });
        EXPECT_EQ(message, c.message) << c.interfaceName << " " << c.usbCount;
        EXPECT_EQ(context_.settingModeState == SettingModeState::Online, c.message != 0);
        if (std::string(c.interfaceName) == "USB") {
            EXPECT_EQ(filterSeen, "PRODUCTID=0083");
        }
    }
}

}  // namespace
}  // namespace rvq
