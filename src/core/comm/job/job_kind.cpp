#include "core/comm/job/job_kind.h"

#include "core/app/string_ids.h"

namespace rvq {

bool IsValidJobKind(int kind) { return kind >= 1 && kind <= 16; }

int JobTitleId(JobKind kind, unsigned firstNumber) {
    switch (kind) {
        case JobKind::FirmwareDownload:
            return 780;
        case JobKind::BasicDownload:
            return 781;
        case JobKind::SendFile:
            return 782;
        case JobKind::PrinterReset:
            return 783;
        case JobKind::SetParameter:
            return 786;
        case JobKind::GetParameter:
            return 785;
        case JobKind::PrinterInfo:
            return firstNumber == 1 ? 784 : firstNumber == 2 ? 910 : 792;
        case JobKind::MemoryAllocate:
            return 787;
        case JobKind::MemoryFormat:
            return 788;
        case JobKind::CounterClear:
            return 789;
        case JobKind::ParameterClear:
            return 790;
        case JobKind::FactoryDefault:
            return 791;
        case JobKind::None:
            return 0;
        case JobKind::HeadCheck:
            return 795;
        case JobKind::TestPrint:
            return 796;
        case JobKind::RestoreOnline:
            return 799;
    }
    return 0;
}

int MergeResult(int overall, int job) {
    if (overall == sid::kStatusCancel) return overall;
    if (overall == sid::kStatusFail && job == sid::kStatusSucceed) return overall;
    return job;
}

}  // namespace rvq
