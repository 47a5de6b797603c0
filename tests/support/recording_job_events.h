#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "core/comm/job/job_events.h"

namespace rvq::test {

// Collects a run's events from the worker threads; waits for runs to end.
class RecordingJobEvents : public JobEvents {
public:
    void OnLine(int index, const std::string& line) override {
        std::lock_guard lock(mutex_);
        lines_[index].push_back(line);
    }
    void OnProgress(int, int, int) override {}
    void OnRunComplete() override {}
    void OnRunFinished(bool failed) override {
        std::lock_guard lock(mutex_);
        finished_.push_back(failed);
        changed_.notify_all();
    }
    void OnCloseRequest() override {
        std::lock_guard lock(mutex_);
        ++closeRequests_;
    }
    // The failure flags of the finished runs, once `count` runs finished
    // (or after ten seconds).
    std::vector<bool> WaitFinished(std::size_t count) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(10),
                          [&] { return finished_.size() >= count; });
        return finished_;
    }
    std::vector<std::string> Lines(int index) {
        std::lock_guard lock(mutex_);
        return lines_[index];
    }
    int closeRequests() {
        std::lock_guard lock(mutex_);
        return closeRequests_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<int, std::vector<std::string>> lines_;
    std::vector<bool> finished_;
    int closeRequests_ = 0;
};

}  // namespace rvq::test
