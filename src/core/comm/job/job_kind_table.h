#pragma once

#include <span>

#include "core/comm/job/job_kind.h"

namespace rvq {

struct JobInputs;
class PrinterJob;

// Everything the program knows about one job kind. Adding a kind is one
// enum value, one row and the file of its operation.
struct JobKindRow {
    JobKind kind;
    int titleId;                       // 0 for a kind without a title
    int (*titleOf)(const JobInputs&);  // for a kind whose title depends on its inputs
    const char* commandLineName;       // how rvqtool names the kind in its records
    bool (*run)(PrinterJob&);          // the operation; null for a kind without one
    bool onlineAfter;  // the printer holds no setting mode after it, whatever the outcome
};

std::span<const JobKindRow> JobKindRows();

// The row of `kind`, or null for a value that is no kind.
const JobKindRow* FindJobKind(JobKind kind);

}  // namespace rvq
