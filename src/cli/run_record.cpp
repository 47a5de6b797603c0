#include "cli/run_record.h"

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
    switch (kind) {
        case JobKind::FirmwareDownload:
            return "firmware-download";
        case JobKind::BasicDownload:
            return "basic-download";
        case JobKind::SendFile:
            return "send-file";
        case JobKind::PrinterReset:
            return "printer-reset";
        case JobKind::SetParameter:
            return "set-parameter";
        case JobKind::GetParameter:
            return "get-parameter";
        case JobKind::PrinterInfo:
            return "printer-information";
        case JobKind::MemoryAllocate:
            return "memory-allocate";
        case JobKind::MemoryFormat:
            return "memory-format";
        case JobKind::CounterClear:
            return "counter-clear";
        case JobKind::ParameterClear:
            return "parameter-clear";
        case JobKind::FactoryDefault:
            return "factory-default";
        case JobKind::HeadCheck:
            return "head-check";
        case JobKind::TestPrint:
            return "test-print";
        case JobKind::RestoreOnline:
            return "restore-online";
        case JobKind::None:
            break;
    }
    return "none";
}

}  // namespace rvq::cli
