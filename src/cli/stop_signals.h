#pragma once

#include <atomic>

namespace rvq::cli {

// SIGINT, SIGTERM and SIGHUP stop a run the way the Cancel button does: the
// first asks every printer job to stop at its next cancel check (the
// printers log Cancel, the audit lines are written, a printer is taken out
// of its setting mode where the cancel path does so), and the command then
// ends with 128 + the signal's number. A second signal ends the process at
// once with that code.
void InstallStopSignals();

// The first stop signal received, 0 while none came.
int StopSignal();

// How many stop signals came so far (a run acts on those after its start).
int StopCount();

// Set once a stop signal came; for waits that take a cancel flag.
const std::atomic<bool>& StopRequested();

// "SIGTERM" and the like.
const char* SignalName(int signal);

}  // namespace rvq::cli
