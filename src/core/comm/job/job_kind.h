#pragma once

#include "core/app/string_ids.h"

namespace rvq {

// The operations a job can run against one printer.
enum class JobKind : int {
    FirmwareDownload = 1,
    BasicDownload = 2,
    SendFile = 3,
    PrinterReset = 4,
    SetParameter = 5,
    GetParameter = 6,
    PrinterInfo = 7,  // data logging, save or get printer information, by its sub-kind
    MemoryAllocate = 8,
    MemoryFormat = 9,
    CounterClear = 10,
    ParameterClear = 11,
    FactoryDefault = 12,
    None = 13,
    HeadCheck = 14,
    TestPrint = 15,
    RestoreOnline = 16,
};

struct JobInputs;

// Whether `kind` is one of the values above (job_kind_table.cpp).
bool IsValidJobKind(int kind);

// The title string id of a job (0 for kinds without a title). The printer
// information's title depends on its sub-kind: data logging, save
// information, anything else get information.
int JobTitleId(const JobInputs& inputs);
// The title of a kind with nothing chosen.
int JobTitleId(JobKind kind);

// Final job results, which are also the status texts' ids.
// Merges one job's result into a run's overall result: Cancel is never
// overwritten, Fail is not overwritten by Succeed.
int MergeResult(int overall, int job);

}  // namespace rvq
