#include "core/comm/job/job_kind_table.h"

#include <algorithm>
#include <array>

#include "core/app/string_ids.h"
#include "core/comm/job/job_inputs.h"
#include "core/comm/ops/basic_download.h"
#include "core/comm/ops/firmware_download.h"
#include "core/comm/ops/maintenance_operations.h"
#include "core/comm/ops/memory_operations.h"
#include "core/comm/ops/parameter_operations.h"
#include "core/comm/ops/print_head_operations.h"
#include "core/comm/ops/printer_reset.h"
#include "core/comm/ops/restore_online.h"
#include "core/comm/ops/send_file.h"

namespace rvq {

namespace {

int PrinterInfoTitle(const JobInputs& inputs) {
    switch (static_cast<InfoSubKind>(InputsOf<PrinterInfoArgs>(inputs).subKind)) {
        case InfoSubKind::DataLogging:
            return sid::kTitleDataLogging;
        case InfoSubKind::SavePrinterInfo:
            return sid::kTitleSavePrinterInfo;
        default:
            return sid::kTitleGetPrinterInfo;
    }
}

// clang-format off
constexpr std::array kRows = {
    // kind                        title                          titleOf           command-line name      run                   onlineAfter
    JobKindRow{JobKind::FirmwareDownload, sid::kTitleFirmwareDownload, nullptr,          "firmware-download",   RunFirmwareDownload,  false},
    JobKindRow{JobKind::BasicDownload,    sid::kTitleBasicDownload,    nullptr,          "basic-download",      RunBasicDownload,     false},
    JobKindRow{JobKind::SendFile,         sid::kTitleSendFile,         nullptr,          "send-file",           RunSendFile,          false},
    JobKindRow{JobKind::PrinterReset,     sid::kTitlePrinterReset,     nullptr,          "printer-reset",       RunPrinterReset,      true},
    JobKindRow{JobKind::SetParameter,     sid::kSetParameter,          nullptr,          "set-parameter",       RunSetParameter,      false},
    JobKindRow{JobKind::GetParameter,     sid::kGetParameter,          nullptr,          "get-parameter",       RunGetParameter,      false},
    JobKindRow{JobKind::PrinterInfo,      0,                           PrinterInfoTitle, "printer-information", RunPrinterInfo,       false},
    JobKindRow{JobKind::MemoryAllocate,   sid::kTitleMemoryAllocate,   nullptr,          "memory-allocate",     RunMemoryAllocate,    false},
    JobKindRow{JobKind::MemoryFormat,     sid::kTitleMemoryFormat,     nullptr,          "memory-format",       RunMemoryFormat,      true},
    JobKindRow{JobKind::CounterClear,     sid::kTitleCounterClear,     nullptr,          "counter-clear",       RunCounterClear,      false},
    JobKindRow{JobKind::ParameterClear,   sid::kTitleParameterClear,   nullptr,          "parameter-clear",     RunParameterClear,    false},
    JobKindRow{JobKind::FactoryDefault,   sid::kTitleFactoryDefault,   nullptr,          "factory-default",     RunFactoryDefault,    false},
    JobKindRow{JobKind::None,             0,                           nullptr,          nullptr,               nullptr,              false},
    JobKindRow{JobKind::HeadCheck,        sid::kTitleHeadCheck,        nullptr,          "head-check",          RunHeadCheck,         true},
    JobKindRow{JobKind::TestPrint,        sid::kTitleTestPrint,        nullptr,          "test-print",          RunTestPrint,         false},
    JobKindRow{JobKind::RestoreOnline,    sid::kRestoreOnline,         nullptr,          "restore-online",      RunRestoreOnline,     false},
};
// clang-format on

}  // namespace

std::span<const JobKindRow> JobKindRows() { return kRows; }

const JobKindRow* FindJobKind(JobKind kind) {
    const auto it = std::find_if(kRows.begin(), kRows.end(),
                                 [kind](const JobKindRow& row) { return row.kind == kind; });
    return it == kRows.end() ? nullptr : &*it;
}

bool IsValidJobKind(int kind) { return FindJobKind(static_cast<JobKind>(kind)) != nullptr; }

int JobTitleId(const JobInputs& inputs) {
    const JobKindRow* row = FindJobKind(inputs.kind);
    if (row == nullptr) return 0;
    return row->titleOf != nullptr ? row->titleOf(inputs) : row->titleId;
}

int JobTitleId(JobKind kind) {
    JobInputs inputs;
    inputs.kind = kind;
    return JobTitleId(inputs);
}

}  // namespace rvq
