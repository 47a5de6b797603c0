#pragma once

#include <string>
#include <variant>

#include "core/comm/job/job_args.h"
#include "core/comm/job/job_kind.h"

namespace rvq {

// What a page hands to a run. Shared by every job of the run and kept
// alive by them, so a worker that outlives its dialog still reads valid data.
struct JobInputs {
    JobKind kind = JobKind::None;
    JobArgs args;  // the struct of `kind`
    // Restore to Online after the connection was set: the settings the
    // shared steps reopen the port with after a restart (empty: the job's own).
    std::string reconnectSettings;
};

// The arguments of a job as its operation reads them: inputs that hold
// another kind's arguments (or none) read as a struct with nothing chosen.
template <class Args>
const Args& InputsOf(const JobInputs& inputs) {
    static const Args kNothingChosen{};
    if (const Args* args = std::get_if<Args>(&inputs.args)) return *args;
    return kNothingChosen;
}

}  // namespace rvq
