#include "cli/run_record.h"

#include "core/comm/job/job_kind_table.h"

namespace rvq::cli {

const char* OutcomeName(PrinterOutcome outcome) {
    switch (outcome) {
        case PrinterOutcome::Succeeded:
            return "succeeded";
        case PrinterOutcome::Failed:
            return "failed";
        case PrinterOutcome::Cancelled:
            return "cancelled";
        case PrinterOutcome::NotRun:
            break;
    }
    return "not run";
}

const char* JobKindName(JobKind kind) {
    const JobKindRow* row = FindJobKind(kind);
    return row != nullptr && row->commandLineName != nullptr ? row->commandLineName : "none";
}

}  // namespace rvq::cli
