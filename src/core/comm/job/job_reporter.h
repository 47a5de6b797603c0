#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "core/app/string_ids.h"

namespace rvq {

class Strings;
class JobLog;

// Where a job's log lines and percentages go; implemented by the runner.
class JobSink {
public:
    virtual ~JobSink() = default;
    virtual void Line(int printerIndex, const std::string& logLine,
                      const std::string& displayLine) = 0;
    virtual void Progress(int printerIndex, int percent) = 0;
};

// The logging half of a job: builds its log and display lines, keeps its
// progress and decides its result. The first final status (Succeed, Fail,
// Cancel) wins; later calls are ignored. While a cancel is requested every
// status is logged as Cancel.
class JobReporter {
public:
    JobReporter(const Strings& strings, JobSink& sink, const std::atomic<bool>& cancelRequested,
                std::string label, int titleId, bool multiLan, int printerIndex);

    void LogStatus(int statusId);
    void LogFailure(int statusId, int detailId, long long code);
    void LogFailureAt(int statusId, int detailId, const std::string& first,
                      const std::string& second, const std::string& third);
    // Ends the job as Fail with this detail: what nearly every failure does.
    void Fail(int detailId, long long code = 0) { LogFailure(sid::kStatusFail, detailId, code); }
    void FailAt(int detailId, const std::string& first, const std::string& second,
                const std::string& third) {
        LogFailureAt(sid::kStatusFail, detailId, first, second, third);
    }
    void LogFormatted(int formatId, const std::string& argument);
    void PostProgress(int percent);

    // Logs Cancel and returns true when a cancel was requested.
    bool CancelCheck();
    bool cancelRequested() const { return cancelRequested_.load(); }

    bool finalized() const { return finalized_; }
    // The detail and code of the failure that ended the job (0 when none
    // did), so a front end can say more about it than the log line.
    int failureDetailId() const { return failureDetailId_; }
    long long failureCode() const { return failureCode_; }
    int result() const { return result_; }
    // The detail message of the final line (1530 "Communication error", ...), 0 when it had none.
    int detailId() const { return detailId_; }
    int progress() const { return progress_; }
    int printerIndex() const { return printerIndex_; }
    const Strings& strings() const { return strings_; }

private:
    void Write(int statusId, const std::string& detail, int detailId = 0);

    const Strings& strings_;
    JobSink& sink_;
    const std::atomic<bool>& cancelRequested_;
    std::string label_;
    int titleId_;
    bool multiLan_;
    int printerIndex_;
    bool finalized_ = false;
    int result_ = 0;
    int detailId_ = 0;
    int progress_ = 0;
    int failureDetailId_ = 0;
    long long failureCode_ = 0;
};

}  // namespace rvq
