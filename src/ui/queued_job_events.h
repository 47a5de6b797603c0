#pragma once

#include "core/comm/job/job_events.h"

namespace rvq::ui {

class ProgressDialog;

// Carries a run's events from the worker threads to the dialog's thread.
// Each call is queued to the dialog and delivered in order; calls still
// queued when the dialog goes are dropped with it. The runner stops
// calling before the dialog is destroyed (its destructor detaches it).
class QueuedJobEvents : public JobEvents {
public:
    explicit QueuedJobEvents(ProgressDialog* dialog) : dialog_(dialog) {}

    void OnLine(int printerIndex, const std::string& displayLine) override;
    void OnProgress(int printerIndex, int percent, int total) override;
    void OnRunComplete() override;
    void OnRunFinished(bool failed) override;
    void OnCloseRequest() override;

private:
    // Set once on the dialog's thread before the run starts; read by workers.
    ProgressDialog* const dialog_;
};

}  // namespace rvq::ui
