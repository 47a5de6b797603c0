#include "cli/job_run.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <iostream>
#include <map>
#include <mutex>
#include <optional>

#include "cli/audit_log.h"
#include "cli/builder_output.h"
#include "cli/open_failure.h"
#include "cli/stop_signals.h"
#include "core/app/connection.h"
#include "core/app/job_log.h"
#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/comm/job/job_events.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/job_runner.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/operations.h"
#include "core/comm/port/loopback_guard.h"
#include "core/comm/port/printer_port.h"

namespace rvq::cli {

namespace {

// Prints and records each display line (a quiet run only records them);
// on a terminal keeps a progress bar below them.
class TerminalEvents : public JobEvents {
public:
    TerminalEvents(std::ostream& out, bool quiet, bool bar, int range)
        : out_(out), quiet_(quiet), bar_(bar), range_(range) {}

    void OnLine(int printerIndex, const std::string& line) override {
        std::lock_guard lock(mutex_);
        lines_[printerIndex].push_back(line);
        if (quiet_) return;
        ClearBar();
        out_ << line << "\n";
        DrawBar();
    }
    void OnProgress(int, int, int total) override {
        std::lock_guard lock(mutex_);
        total_ = total;
        ClearBar();
        DrawBar();
    }
    void OnRunComplete() override {
        std::lock_guard lock(mutex_);
        total_ = range_;
        ClearBar();
        DrawBar();
        if (bar_) std::cerr << "\n";
        drawn_ = false;
    }
    void OnRunFinished(bool) override {}
    void OnCloseRequest() override {}

    void SetRange(int range) {
        std::lock_guard lock(mutex_);
        range_ = range;
        total_ = 0;
    }
    std::vector<std::string> LinesOf(int printerIndex) {
        std::lock_guard lock(mutex_);
        const auto it = lines_.find(printerIndex);
        return it == lines_.end() ? std::vector<std::string>{} : it->second;
    }

private:
    void ClearBar() {
        if (bar_ && drawn_) std::cerr << "\r\033[K" << std::flush;
        drawn_ = false;
    }
    void DrawBar() {
        out_.flush();
        if (!bar_ || range_ <= 0) return;
        const int percent = total_ * 100 / range_;
        const int filled = percent * 30 / 100;
        std::cerr << "[" << std::string(static_cast<std::size_t>(filled), '#')
                  << std::string(static_cast<std::size_t>(30 - filled), ' ') << "] " << percent
                  << "%" << std::flush;
        drawn_ = true;
    }

    std::mutex mutex_;
    std::ostream& out_;
    bool quiet_;
    bool bar_;
    int range_;
    int total_ = 0;
    bool drawn_ = false;
    std::map<int, std::vector<std::string>> lines_;  // guarded by mutex_
};

// Runs the operation of the kind, or the command's own step, and notes
// which connection each printer's job used. Called on worker threads.
class RecordingExecutor : public JobExecutor {
public:
    RecordingExecutor(AppContext& context, Document& document, JobStep step)
        : context_(context),
          document_(document),
          step_(std::move(step)),
          operation_(MakeOperationExecutor(context, document)) {}

    bool Run(const JobSetup& setup, JobReporter& reporter) override {
        {
            std::lock_guard lock(mutex_);
            connections_[setup.printerIndex] = setup.connection;
        }
        const bool ok = RunJob(setup, reporter);
        {
            std::lock_guard lock(mutex_);
            details_[setup.printerIndex] = reporter.detailId();
            if (reporter.failureDetailId() == sid::kDetailNoConnection)
                openFailures_[setup.printerIndex] =
                    static_cast<std::uint32_t>(reporter.failureCode());
        }
        return ok;
    }

    // The system error of each printer whose port could not be opened.
    std::map<int, std::uint32_t> OpenFailures() {
        std::lock_guard lock(mutex_);
        return openFailures_;
    }

    // The detail message of the printer's last line, 0 when none.
    int DetailOf(int printerIndex) {
        std::lock_guard lock(mutex_);
        const auto it = details_.find(printerIndex);
        return it == details_.end() ? 0 : it->second;
    }

    std::optional<Connection> ConnectionOf(int printerIndex) {
        std::lock_guard lock(mutex_);
        const auto it = connections_.find(printerIndex);
        if (it == connections_.end()) return std::nullopt;
        return it->second;
    }

private:
    bool RunJob(const JobSetup& setup, JobReporter& reporter) {
        if (!step_) return operation_->Run(setup, reporter);
        if (!setup.inputs) return false;
        PrinterJob job(setup, reporter, context_);
        job.AttachDocument(&document_);
        const bool ok = step_(job);
        job.ClosePort();
        return ok;
    }

    AppContext& context_;
    Document& document_;
    JobStep step_;
    std::shared_ptr<JobExecutor> operation_;
    std::mutex mutex_;
    std::map<int, Connection> connections_;      // guarded by mutex_
    std::map<int, std::uint32_t> openFailures_;  // guarded by mutex_
    std::map<int, int> details_;                 // guarded by mutex_
};

// A device that could not be opened is named, with a hint on access; the
// job line only carries the error number. LAN lines say enough.
void ReportDeviceFailures(CliEnv& env, RecordingExecutor& executor) {
    for (const auto& [index, error] : executor.OpenFailures()) {
        const auto connection = executor.ConnectionOf(index);
        if (!connection || IsLan(connection->interfaceName.kind())) continue;
        ReportOpenFailure(env, *connection, error);
    }
}

}  // namespace

std::vector<bool> PickedPrinters(const CliEnv& env, std::size_t count, std::string& error) {
    if (!env.options.pick) return {};
    std::vector<bool> selected(count, false);
    for (const std::string& item : Split(*env.options.pick, ',')) {
        const int n = ParseLeadingInt(item);
        if (n < 1 || static_cast<std::size_t>(n) > count || Trim(item) != std::to_string(n)) {
            error = "--pick: '" + item + "' is not an entry of the list (1 to " +
                    std::to_string(count) + ")";
            return {};
        }
        selected[static_cast<std::size_t>(n - 1)] = true;
    }
    return selected;
}

std::optional<std::string> RefusedTarget(const CliEnv& env, const std::vector<bool>& selected) {
    const ToolSettings& settings = env.context.settings;
    const std::size_t count =
        IsMultiLan(settings.interfaceName.kind()) ? settings.multiLanHosts.size() : 1;
    for (std::size_t i = 0; i < count; ++i) {
        if (i < selected.size() && !selected[i]) continue;
        const Connection connection = BuildConnection(settings, env.context.strings, i);
        if (!LanTargetRefused(connection)) continue;
        const std::string host = connection.settings.substr(0, connection.settings.rfind(','));
        return LoopbackRefusal(host).value_or(host + " is refused");
    }
    return std::nullopt;
}

namespace {

int UsbCount(const std::string& filter) {
    std::vector<std::string> paths;
    if (!PrinterPort::EnumerateUsbDevices(filter, paths)) return -1;
    return static_cast<int>(paths.size());
}

}  // namespace

namespace {

// Runs one stage of the run (the printers of `selected`, all when empty)
// to its end; a stop signal (Ctrl-C, SIGTERM, SIGHUP) after the first
// `stopsBefore` cancels it. False when nothing could start.
bool RunStage(CliEnv& env, JobRunner& runner, TerminalEvents& events,
              const std::shared_ptr<JobInputs>& inputs, const std::vector<bool>& selected,
              int stopsBefore, bool& cancelled) {
    if (!runner.Start(inputs, selected)) return false;
    events.SetRange(runner.progressRange());
    while (!runner.WaitForWorkers(200)) {
        if (StopCount() > stopsBefore && !cancelled) {
            cancelled = true;
            env.err << "\nrvqtool: " << SignalName(StopSignal())
                    << ": cancelling (a second signal or Ctrl-C quits at once)\n";
            runner.RequestCancel();
            if (!runner.WaitForWorkers(30000)) {
                env.err << "rvqtool: a printer job did not stop within 30 seconds; leaving it\n";
                break;
            }
        }
    }
    return true;
}

PrinterOutcome OutcomeOf(int state, bool cancelled) {
    switch (state) {
        case kPrinterSucceeded:
            return PrinterOutcome::Succeeded;
        case kPrinterFailed:
        case kPrinterWaiting:  // a printer the run left unfinished failed too
        case kPrinterInProgress:
            return cancelled ? PrinterOutcome::Cancelled : PrinterOutcome::Failed;
        default:
            return PrinterOutcome::NotRun;
    }
}

// Takes the states of the stage just ended into the record.
void CollectStage(JobRunner& runner, TerminalEvents& events, RecordingExecutor& executor,
                  bool cancelled, JobRunRecord& record) {
    const std::vector<int> states = runner.printerStates();
    for (std::size_t i = 0; i < states.size() && i < record.printers.size(); ++i) {
        if (states[i] == kPrinterExcluded) continue;
        PrinterRecord& printer = record.printers[i];
        printer.outcome = OutcomeOf(states[i], cancelled);
        printer.lines = events.LinesOf(static_cast<int>(i));
        printer.detailId = executor.DetailOf(static_cast<int>(i));
        if (auto connection = executor.ConnectionOf(static_cast<int>(i))) {
            printer.interfaceName = connection->interfaceName.text();
            printer.address = connection->settings;
        }
    }
}

// The printers of the run, every one "not run" until a stage runs it.
JobRunRecord EmptyRecord(const CliEnv& env, JobKind kind, bool multiLan, std::size_t count,
                         const std::vector<bool>& selected) {
    JobRunRecord record;
    record.kind = kind;
    const std::size_t printers = multiLan ? count : 1;
    for (std::size_t i = 0; i < printers; ++i) {
        const Connection connection = BuildConnection(env.context.settings, env.context.strings, i);
        record.printers.push_back({static_cast<int>(i),
                                   connection.interfaceName.text(),
                                   connection.settings,
                                   PrinterOutcome::NotRun,
                                   {},
                                   i >= selected.size() || selected[i]});
    }
    return record;
}

// The canary stage: the first `count` of the selected printers.
std::vector<bool> SplitCanary(std::vector<bool>& selected, std::size_t total, int count) {
    if (selected.empty()) selected.assign(total, true);
    std::vector<bool> canary(total, false);
    int taken = 0;
    for (std::size_t i = 0; i < total && taken < count; ++i) {
        if (!selected[i]) continue;
        canary[i] = true;
        selected[i] = false;
        ++taken;
    }
    return canary;
}

void WriteAudit(CliEnv& env, const JobRunRecord& record, const JobRunHooks& hooks) {
    if (!env.options.auditFile) return;
    std::vector<std::string> lines;
    for (const PrinterRecord& printer : record.printers) {
        if (printer.outcome == PrinterOutcome::NotRun) continue;
        AuditEntry entry = AuditEntryNow();
        entry.interfaceName = printer.interfaceName;
        entry.address = printer.address;
        entry.job = JobKindName(record.kind);
        entry.outcome = printer.outcome;
        if (!printer.lines.empty()) entry.detail = printer.lines.back();
        if (hooks.changes && printer.outcome == PrinterOutcome::Succeeded)
            entry.changes = hooks.changes(printer.index);
        lines.push_back(AuditLine(entry));
    }
    if (!AppendAuditLines(*env.options.auditFile, lines))
        env.err << "rvqtool: " << *env.options.auditFile << ": the audit lines cannot be written\n";
}

void PrintSummary(CliEnv& env, const JobRunRecord& record) {
    int ok = 0, failed = 0, notRun = 0;
    for (const PrinterRecord& printer : record.printers) {
        ok += printer.outcome == PrinterOutcome::Succeeded;
        failed += printer.outcome == PrinterOutcome::Failed ||
                  printer.outcome == PrinterOutcome::Cancelled;
    }
    for (const PrinterRecord& printer : record.printers)
        notRun += printer.selected && printer.outcome == PrinterOutcome::NotRun;
    env.out << ok << " succeeded, " << failed << " failed";
    if (env.options.canary && notRun > 0) env.out << ", " << notRun << " not run";
    env.out << "\n";
}

}  // namespace

int RunPrinterJob(CliEnv& env, const std::shared_ptr<JobInputs>& inputs, const JobRunHooks& hooks) {
    AppContext& context = env.context;
    // Under --json the lines go to the error stream, standard output being
    // the document's.
    TerminalEvents events(env.options.json ? env.err : env.out, hooks.quiet,
                          ::isatty(STDERR_FILENO) != 0, 100);
    auto executor = std::make_shared<RecordingExecutor>(context, env.document, hooks.step);
    JobRunner runner(context, env.document.sharedJobLog(), executor, events);
    runner.SetMaxWorkers(Parallel(env));

    if (const int message = runner.PreCheck(inputs->kind, UsbCount); message != 0) {
        env.interaction.Error(message, context.strings.Get(message));
        return kExitFailed;
    }
    // After a stop signal nothing new starts, except the Restore to Online
    // that takes a printer left in its setting mode back online; a signal
    // from here on cancels this run.
    const int stopsBefore = StopCount();
    if (stopsBefore > 0 && inputs->kind != JobKind::RestoreOnline) return kExitFailed;
    std::string error;
    const std::size_t count = runner.Printers().size();
    std::vector<bool> selected = PickedPrinters(env, count, error);
    if (!error.empty()) return UsageError(env, error);
    if (!hooks.printers.empty()) {
        if (selected.empty()) selected.assign(count, true);
        for (std::size_t i = 0; i < selected.size(); ++i)
            selected[i] = selected[i] && i < hooks.printers.size() && hooks.printers[i];
    }
    if (auto refused = RefusedTarget(env, selected)) return UsageError(env, *refused);

    JobRunRecord record = EmptyRecord(env, inputs->kind, runner.multiLan(), count, selected);
    bool cancelled = false;
    bool allSucceeded = true;
    std::vector<std::vector<bool>> stages;
    if (env.options.canary && runner.multiLan()) {
        std::vector<bool> canary = SplitCanary(selected, count, *env.options.canary);
        stages.push_back(std::move(canary));
    }
    stages.push_back(selected);
    for (std::size_t stage = 0; stage < stages.size(); ++stage) {
        const bool last = stage + 1 == stages.size();
        const bool anySelected =
            stages[stage].empty() ||
            std::find(stages[stage].begin(), stages[stage].end(), true) != stages[stage].end();
        if (!anySelected && stage > 0) break;  // the canaries were the whole selection
        if (stage > 0 && StopSignal() != 0) break;
        if (!RunStage(env, runner, events, inputs, stages[stage], stopsBefore, cancelled)) {
            return Fail(env, kExitUsage, "nothing to run (no printer selected)");
        }
        CollectStage(runner, events, *executor, cancelled, record);
        // Each stage starts the document's log afresh; the file gets every one.
        for (std::string& line : env.document.jobLog()) env.jobLogLines.push_back(std::move(line));
        allSucceeded = allSucceeded && runner.overallResult() == sid::kStatusSucceed &&
                       runner.state() == RunState::Succeeded;
        if (runner.runningWorkers() > 0) break;
        if (!last && !allSucceeded) {
            Fail(env, kExitFailed,
                 "a canary printer did not succeed; the other printers are not run");
            break;
        }
    }

    ReportDeviceFailures(env, *executor);
    if (env.options.logFile) {
        if (const WriteResult written = WriteJobLogFile(*env.options.logFile, env.jobLogLines,
                                                        context.strings, context.isJapanese);
            !written) {
            ReportSaveFailure(env, *env.options.logFile, written);
        }
    }
    record.exitCode = allSucceeded ? kExitOk : kExitFailed;
    WriteAudit(env, record, hooks);
    if (runner.multiLan() && !env.options.json && !hooks.quiet) PrintSummary(env, record);
    env.runs.push_back(record);
    if (runner.runningWorkers() > 0)
        ::_exit(kExitFailed);  // a stuck worker must not outlive main's objects
    return record.exitCode;
}

}  // namespace rvq::cli
