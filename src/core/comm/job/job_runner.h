#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/app/app_context.h"
#include "core/app/tool_settings.h"
#include "core/comm/job/job_inputs.h"
#include "core/comm/port/multi_lan_list.h"

namespace rvq {

struct AppContext;
class JobEvents;
class JobLog;
class JobReporter;

// Everything one job needs to know about its printer and run.
struct JobSetup {
    Connection connection;
    int printerIndex = 0;
    bool multiLan = false;
    int timeoutMs = 20000;
    ControlCodes controlCodes;
    double timeScale = 1.0;
    std::shared_ptr<const JobInputs> inputs;
    // A copy of the settings the run started with (serial reopen rules,
    // the control-code choice).
    std::shared_ptr<const ToolSettings> settings;
    // Whether the printer was left in its setting mode when the run
    // started: decided once for the run, so that no job of a Multi-LAN run
    // depends on what another job did to the application's state (a
    // Restore to Online restarts every printer of the list when asked to).
    SettingModeState settingMode = SettingModeState::Online;
};

// Runs one job against one printer (the operation of its kind), logging
// through the reporter; returns whether the operation succeeded. A job can
// log "Succeed" and still fail (a head check that found a broken element).
// Called on worker threads, several at once in Multi-LAN runs.
class JobExecutor {
public:
    virtual ~JobExecutor() = default;
    virtual bool Run(const JobSetup& setup, JobReporter& reporter) = 0;
};

// Printer states of a run.
inline constexpr int kPrinterExcluded = -1;
inline constexpr int kPrinterWaiting = 0;
inline constexpr int kPrinterInProgress = 1;
inline constexpr int kPrinterSucceeded = 2;
inline constexpr int kPrinterFailed = 3;

// Run states.
enum class RunState { Running = 0, Succeeded = 1, Failed = 2, CancelRequested = 3 };

// Counts the USB printers a filter finds; -1 when the enumeration fails.
using UsbCounter = std::function<int(const std::string& filter)>;

// Runs a job kind against the configured printer, or against the selected
// printers of the Multi-LAN list with at most five in progress at a time.
// Front ends hear about it through JobEvents only. The run's state lives
// until its last worker has ended, even when the runner (and the front end)
// are gone: a worker left running after a cancel never reads freed memory.
class JobRunner {
public:
    static constexpr int kMaxWorkers = 5;  // the desktop program's limit
    static constexpr int kMostWorkers = 64;

    JobRunner(AppContext& context, std::shared_ptr<JobLog> log,
              std::shared_ptr<JobExecutor> executor, JobEvents& events);
    ~JobRunner();  // stops events to the front end; workers finish on their own
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    // The interface pre-check: 0 when the run may start, else the message
    // id to show (1003, 1004, 1012, 1013). A failed check of Restore to
    // Online clears the setting-mode state.
    int PreCheck(JobKind kind, const UsbCounter& countUsb) const;

    // The Multi-LAN list entries (empty for a single printer).
    std::vector<LanPrinter> Printers() const;

    // Printers of a Multi-LAN run in progress at once (1 to 64, five unless
    // set); for the runs started after the call.
    void SetMaxWorkers(int count);

    // Starts a run. For Multi LAN, `selected` says which entries take part
    // (empty: all). False when a run is still alive.
    bool Start(std::shared_ptr<const JobInputs> inputs, const std::vector<bool>& selected = {});

    // Asks the workers to stop at their next cancel check.
    void RequestCancel();
    // Waits until no worker runs, at most `protocolMs`; true when none runs.
    bool WaitForWorkers(int protocolMs) const;
    // Runs the failed (and waiting) printers again.
    bool Retry();

    bool multiLan() const;
    RunState state() const;
    int overallResult() const;
    int runningWorkers() const;
    std::vector<int> printerStates() const;
    int progressTotal() const;
    int progressRange() const;
    // The largest number of jobs that were in progress at once.
    int maxConcurrent() const;
    // Host and port of every printer that did not succeed (the error list).
    std::vector<LanPrinter> ErrorList() const;

    struct Shared;

private:
    AppContext& context_;
    std::shared_ptr<Shared> shared_;
};

}  // namespace rvq
