#include "core/comm/job/job_reporter.h"

#include <ctime>

#include "core/app/job_log.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/comm/job/job_kind.h"

namespace rvq {

JobReporter::JobReporter(const Strings& strings, JobSink& sink,
                         const std::atomic<bool>& cancelRequested, std::string label, int titleId,
                         bool multiLan, int printerIndex)
    : strings_(strings),
      sink_(sink),
      cancelRequested_(cancelRequested),
      label_(std::move(label)),
      titleId_(titleId),
      multiLan_(multiLan),
      printerIndex_(printerIndex) {}

void JobReporter::Write(int statusId, const std::string& detail, int detailId) {
    if (finalized_) return;
    std::string shownDetail = detail;
    if (cancelRequested_.load()) {
        statusId = sid::kStatusCancel;
        shownDetail.clear();
        detailId = 0;
    }
    if (statusId == sid::kStatusSucceed || statusId == sid::kStatusFail ||
        statusId == sid::kStatusCancel) {
        finalized_ = true;
        result_ = statusId;
        detailId_ = detailId;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::string& title = strings_.Get(titleId_);
    const std::string& status = strings_.Get(statusId);
    sink_.Line(printerIndex_, FormatLogLine(local, label_, multiLan_, title, status, shownDetail),
               FormatDisplayLine(label_, multiLan_, title, status, shownDetail));
}

void JobReporter::LogStatus(int statusId) { Write(statusId, ""); }

void JobReporter::LogFailure(int statusId, int detailId, long long code) {
    if (!finalized_ && !cancelRequested_.load() && statusId == sid::kStatusFail) {
        failureDetailId_ = detailId;
        failureCode_ = code;
    }
    Write(statusId, FailureDetail(strings_, detailId, code), detailId);
}

void JobReporter::LogFailureAt(int statusId, int detailId, const std::string& first,
                               const std::string& second, const std::string& third) {
    Write(statusId, FailureAtDetail(strings_, detailId, first, second, third), detailId);
}

void JobReporter::LogFormatted(int formatId, const std::string& argument) {
    if (finalized_) return;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::string& title = strings_.Get(titleId_);
    const std::string text = FormatRuntime(strings_.Get(formatId), argument.c_str());
    sink_.Line(printerIndex_, FormatLogLine(local, label_, multiLan_, title, text, ""),
               FormatDisplayLine(label_, multiLan_, title, text, ""));
}

void JobReporter::PostProgress(int percent) {
    progress_ = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    sink_.Progress(printerIndex_, progress_);
}

bool JobReporter::CancelCheck() {
    if (!cancelRequested_.load()) return false;
    LogStatus(sid::kStatusCancel);
    return true;
}

}  // namespace rvq
