#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/comm/job/job_inputs.h"
#include "core/comm/job/job_kind_table.h"

namespace rvq {
namespace {

constexpr int kFirstKind = static_cast<int>(JobKind::FirmwareDownload);
constexpr int kLastKind = static_cast<int>(JobKind::RestoreOnline);

TEST(JobKindTable, EveryKindHasExactlyOneRow) {
    std::set<int> seen;
    for (const JobKindRow& row : JobKindRows()) {
        const int kind = static_cast<int>(row.kind);
        EXPECT_TRUE(seen.insert(kind).second) << "kind " << kind << " has two rows";
        EXPECT_GE(kind, kFirstKind);
        EXPECT_LE(kind, kLastKind);
    }
    for (int kind = kFirstKind; kind <= kLastKind; ++kind) {
        const JobKindRow* row = FindJobKind(static_cast<JobKind>(kind));
        ASSERT_NE(row, nullptr) << "kind " << kind << " has no row";
        EXPECT_EQ(static_cast<int>(row->kind), kind);
    }
    EXPECT_EQ(FindJobKind(static_cast<JobKind>(kLastKind + 1)), nullptr);
}

TEST(JobKindTable, EveryKindButNoneRunsHasATitleAndAName) {
    std::set<std::string> names;
    for (const JobKindRow& row : JobKindRows()) {
        const int kind = static_cast<int>(row.kind);
        if (row.kind == JobKind::None) {
            EXPECT_EQ(row.run, nullptr);
            EXPECT_EQ(row.commandLineName, nullptr);
            EXPECT_EQ(JobTitleId(JobKind::None), 0);
            continue;
        }
        EXPECT_NE(row.run, nullptr) << "kind " << kind;
        EXPECT_NE(JobTitleId(row.kind), 0) << "kind " << kind;
        ASSERT_NE(row.commandLineName, nullptr) << "kind " << kind;
        EXPECT_TRUE(names.insert(row.commandLineName).second) << row.commandLineName;
    }
}

TEST(JobInputs, ArgumentsOfAnotherKindReadAsNothingChosen) {
    JobInputs inputs;
    inputs.kind = JobKind::PrinterInfo;
    inputs.args = CounterClearArgs{2};
    EXPECT_EQ(InputsOf<PrinterInfoArgs>(inputs).subKind, 0u);
    EXPECT_TRUE(InputsOf<PrinterInfoArgs>(inputs).path.empty());
    EXPECT_EQ(InputsOf<CounterClearArgs>(inputs).selection, 2u);
    // The printer information's title falls back to "get information".
    EXPECT_EQ(JobTitleId(inputs), JobTitleId(JobKind::PrinterInfo));
    inputs.args = PrinterInfoArgs{static_cast<unsigned>(InfoSubKind::DataLogging), "log.bin"};
    EXPECT_NE(JobTitleId(inputs), JobTitleId(JobKind::PrinterInfo));
}

}  // namespace
}  // namespace rvq
