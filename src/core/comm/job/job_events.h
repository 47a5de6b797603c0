#pragma once

#include <string>

namespace rvq {

// What a run tells its front end. Called on worker threads, in order for
// each job; an implementation must not block (the desktop program queues
// the calls to its own thread).
class JobEvents {
public:
    virtual ~JobEvents() = default;
    // A display line of one printer's job.
    virtual void OnLine(int printerIndex, const std::string& displayLine) = 0;
    // One printer's percentage changed; `total` is the sum over all printers.
    virtual void OnProgress(int printerIndex, int percent, int total) = 0;
    // The whole run reached its end: the bar is full.
    virtual void OnRunComplete() = 0;
    // The run ended; `failed` after a failure or cancel.
    virtual void OnRunFinished(bool failed) = 0;
    // A successful Restore to Online closes its dialog by itself.
    virtual void OnCloseRequest() = 0;
};

}  // namespace rvq
