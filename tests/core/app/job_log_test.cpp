#include <gtest/gtest.h>

#include "core/app/job_log.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/comm/job/job_kind.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/ops/maintenance_inputs.h"

namespace rvq {
namespace {

struct RecordingSink : JobSink {
    std::vector<std::string> logLines, displayLines;
    std::vector<int> progress;
    void Line(int, const std::string& logLine, const std::string& displayLine) override {
        logLines.push_back(logLine);
        displayLines.push_back(displayLine);
    }
    void Progress(int, int percent) override { progress.push_back(percent); }
};

TEST(JobLogLines, LabelsAndLineShapes) {
    EXPECT_EQ(InterfaceLabel("LAN", "192.168.10.20,8000"), "192.168.10.20");
    EXPECT_EQ(InterfaceLabel("LAN", "host,with,commas,9100"), "host,with,commas");
    EXPECT_EQ(InterfaceLabel("USB", "PRODUCTID=0083"), "USB");
    EXPECT_EQ(InterfaceLabel("COM1", "9600,N,8,1,0"), "COM1");

    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 9;
    t.tm_hour = 7;
    t.tm_min = 5;
    t.tm_sec = 3;
    EXPECT_EQ(FormatLogLine(t, "10.0.0.1", false, "Get Parameter", "Fail", "Timeout error"),
              "2026/12/09,07:05:03,10.0.0.1,Get Parameter,Fail,Timeout error");
    const std::string host20 = "abcdefghijklmnopqrst";
    EXPECT_EQ(FormatLogLine(t, host20, true, "Printer Reset", "Start", ""),
              "2026/12/09,07:05:03,[" + host20 + "],Printer Reset,Start");
    EXPECT_EQ(FormatDisplayLine(host20, true, "Printer Reset", "Start", ""),
              "[abcdefghijklmnop]Printer Reset , Start");
    EXPECT_EQ(FormatDisplayLine("USB", false, "Printer Reset", "Fail", "System error"),
              "Printer Reset , Fail , System error");
}

TEST(JobLogLines, FailureDetails) {
    const Strings s;
    const struct {
        int detail;
        long long code;
        const char* text;
    } cases[] = {
        {1525, 6, "An error (06) occurred on the printer."},
        {1524, 3, "The printer is not in idle state. (03)"},
        {1532, 0, "Mode shift error"},
        {1532, 7, "Mode shift error (07)"},
        {1530, 104, "Communication error (104)"},
        {1522, 0, "No printer connection is detected."},
    };
    for (const auto& c : cases) EXPECT_EQ(FailureDetail(s, c.detail, c.code), c.text) << c.detail;
    EXPECT_EQ(FailureAtDetail(s, 1521, "General", "Speed", ""),
              "Updating the printer settings failed.(General/Speed)");
    EXPECT_EQ(FailureAtDetail(s, 1520, "LAN", "IP", "x"),
              "Obtaining the printer settings failed.(LAN/IP/x)");
}

TEST(JobReporter, FirstFinalStatusWinsAndCancelOverridesEverything) {
    const Strings s;
    RecordingSink sink;
    std::atomic<bool> cancel{false};
    JobReporter job(s, sink, cancel, "USB", 783, false, 0);
    job.LogStatus(1500);
    EXPECT_FALSE(job.finalized());
    cancel = true;
    job.Fail(sid::kDetailCommunication, 5);  // logged as Cancel while a cancel is requested
    job.LogStatus(1501);                     // ignored: the job is final
    EXPECT_TRUE(job.CancelCheck());
    EXPECT_EQ(job.result(), sid::kStatusCancel);
    ASSERT_EQ(sink.displayLines.size(), 2u);
    EXPECT_EQ(sink.displayLines[0], "Printer Reset , Start");
    EXPECT_EQ(sink.displayLines[1], "Printer Reset , Cancel");

    RecordingSink other;
    std::atomic<bool> noCancel{false};
    JobReporter failing(s, other, noCancel, "LAN-host", 785, false, 0);
    failing.Fail(sid::kDetailPrinterError, 12);
    failing.LogStatus(1501);
    EXPECT_EQ(failing.result(), sid::kStatusFail);
    ASSERT_EQ(other.logLines.size(), 1u);
    EXPECT_NE(other.logLines[0].find(
                  ",LAN-host,Get Parameter,Fail,An error (12) occurred on the printer."),
              std::string::npos);
}

TEST(JobKinds, TitlesAndResultMerge) {
    EXPECT_EQ(JobTitleId(*PrinterInfoJobInputs(1)), 784);
    EXPECT_EQ(JobTitleId(*PrinterInfoJobInputs(2)), 910);
    EXPECT_EQ(JobTitleId(*PrinterInfoJobInputs(7)), 792);
    EXPECT_EQ(JobTitleId(JobKind::RestoreOnline), 799);
    EXPECT_FALSE(IsValidJobKind(0));
    EXPECT_FALSE(IsValidJobKind(17));
    EXPECT_EQ(MergeResult(sid::kStatusCancel, sid::kStatusSucceed), sid::kStatusCancel);
    EXPECT_EQ(MergeResult(sid::kStatusCancel, sid::kStatusFail), sid::kStatusCancel);
    EXPECT_EQ(MergeResult(sid::kStatusFail, sid::kStatusSucceed), sid::kStatusFail);
    EXPECT_EQ(MergeResult(sid::kStatusFail, sid::kStatusCancel), sid::kStatusCancel);
    EXPECT_EQ(MergeResult(sid::kStatusSucceed, sid::kStatusFail), sid::kStatusFail);
    EXPECT_EQ(MergeResult(0, sid::kStatusSucceed), sid::kStatusSucceed);
}

}  // namespace
}  // namespace rvq
