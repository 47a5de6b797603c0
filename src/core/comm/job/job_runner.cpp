#include "core/comm/job/job_runner.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "core/app/app_context.h"
#include "core/app/connection.h"
#include "core/app/job_log.h"
#include "core/app/string_ids.h"
#include "core/comm/job/clock.h"
#include "core/comm/job/job_events.h"
#include "core/comm/job/job_reporter.h"

namespace rvq {

// The state of a run, shared by the runner and every worker of the run.
struct JobRunner::Shared : JobSink {
    Shared(AppContext& c, std::shared_ptr<JobLog> l, std::shared_ptr<JobExecutor> e, JobEvents& ev)
        : context(c), log(std::move(l)), executor(std::move(e)), events(&ev) {}

    // Set at construction or while no worker runs.
    AppContext& context;  // lives as long as the program
    const std::shared_ptr<JobLog> log;
    const std::shared_ptr<JobExecutor> executor;
    Strings strings;
    ToolSettings settings;
    std::shared_ptr<const ToolSettings> settingsShared;
    std::shared_ptr<const JobInputs> inputs;
    JobKind kind = JobKind::None;
    int titleId = 0;
    bool multiLan = false;
    double timeScale = 1.0;
    int maxWorkers = JobRunner::kMaxWorkers;
    SettingModeState settingMode = SettingModeState::Online;
    std::vector<std::string> connections;  // settings string of each printer

    // Guarded by `mutex`; `idle` is signalled when `running` drops to 0.
    mutable std::mutex mutex;
    mutable std::condition_variable idle;
    std::vector<int> states;
    std::vector<int> progress;
    int running = 0;
    int inProgress = 0;
    int maxInProgress = 0;
    RunState runState = RunState::Succeeded;
    int overall = 0;
    bool decided = true;

    // Guarded by `eventsMutex`; null once the front end has gone.
    std::mutex eventsMutex;
    JobEvents* events;

    void Line(int printerIndex, const std::string& logLine,
              const std::string& displayLine) override {
        log->Append(logLine);
        std::lock_guard lock(eventsMutex);
        if (events) events->OnLine(printerIndex, displayLine);
    }

    void Progress(int printerIndex, int percent) override {
        int total = 0;
        {
            std::lock_guard lock(mutex);
            if (printerIndex >= 0 && static_cast<std::size_t>(printerIndex) < progress.size()) {
                progress[static_cast<std::size_t>(printerIndex)] = percent;
            }
            for (int p : progress) total += p;
        }
        std::lock_guard lock(eventsMutex);
        if (events) events->OnProgress(printerIndex, percent, total);
    }

    // The first waiting printer whose host and port is not in progress
    // already; with `claim` it becomes in progress. Call under `mutex`.
    int NextPrinterLocked(bool claim) {
        if (!multiLan || runState == RunState::CancelRequested) return -1;
        for (std::size_t i = 0; i < states.size(); ++i) {
            if (states[i] != kPrinterWaiting) continue;
            bool busy = false;
            for (std::size_t j = 0; j < states.size(); ++j) {
                busy =
                    busy || (states[j] == kPrinterInProgress && connections[j] == connections[i]);
            }
            if (busy) continue;
            if (claim) Claim(static_cast<int>(i));
            return static_cast<int>(i);
        }
        return -1;
    }

    void Claim(int index) {
        states[static_cast<std::size_t>(index)] = kPrinterInProgress;
        ++running;
        ++inProgress;
        maxInProgress = std::max(maxInProgress, inProgress);
        context.jobRunning = true;
    }
};

namespace {

void Work(const std::shared_ptr<JobRunner::Shared>& s, int index);

void Launch(const std::shared_ptr<JobRunner::Shared>& s, const std::vector<int>& indexes) {
    for (int index : indexes) std::thread([s, index] { Work(s, index); }).detach();
}

void Finish(const std::shared_ptr<JobRunner::Shared>& s, int index, bool succeeded, int result) {
    std::vector<int> next;
    bool finishedNow = false;
    bool failed = false;
    bool closeRequest = false;
    {
        std::lock_guard lock(s->mutex);
        s->overall = MergeResult(s->overall, result);
        --s->inProgress;
        const auto i = static_cast<std::size_t>(index);
        s->states[i] = succeeded ? kPrinterSucceeded : kPrinterFailed;
        s->progress[i] = 100;
        if (!s->multiLan) {
            finishedNow = !s->decided;
            failed = !succeeded;
            closeRequest = !failed && s->kind == JobKind::RestoreOnline;
        } else if (const int n = s->NextPrinterLocked(true); n >= 0) {
            next.push_back(n);
        } else {
            const auto has = [&](int state) {
                return std::count(s->states.begin(), s->states.end(), state) > 0;
            };
            const bool cancel = s->runState == RunState::CancelRequested;
            if (!has(kPrinterInProgress) && (!has(kPrinterWaiting) || cancel) && !s->decided) {
                finishedNow = true;
                failed = has(kPrinterFailed) || has(kPrinterWaiting);
            }
        }
        if (finishedNow) {
            s->decided = true;
            s->runState = failed ? RunState::Failed : RunState::Succeeded;
        }
    }
    Launch(s, next);
    if (finishedNow) {
        std::lock_guard lock(s->eventsMutex);
        if (s->events) {
            s->events->OnRunFinished(failed);
            s->events->OnRunComplete();
            if (closeRequest) s->events->OnCloseRequest();
        }
    }
    // The count drops last: after the next worker was counted, so it never
    // reads 0 while the run goes on, and after the run's final events, so
    // a front end that saw no worker running has seen every event.
    std::lock_guard lock(s->mutex);
    if (--s->running == 0) {
        s->context.jobRunning = false;
        s->idle.notify_all();
    }
}

void Work(const std::shared_ptr<JobRunner::Shared>& s, int index) {
    JobSetup setup;
    setup.connection = BuildConnection(s->settings, s->strings, static_cast<std::size_t>(index));
    setup.printerIndex = index;
    setup.multiLan = s->multiLan;
    setup.timeoutMs = s->settings.timeoutSeconds * 1000;
    setup.controlCodes = s->settings.controlCodes;
    setup.timeScale = s->timeScale;
    setup.inputs = s->inputs;
    setup.settings = s->settingsShared;
    setup.settingMode = s->settingMode;
    JobReporter reporter(s->strings, *s, s->context.cancelRequested,
                         InterfaceLabel(setup.connection.interfaceName, setup.connection.settings),
                         s->titleId, s->multiLan, index);
    bool ok = false;
    if (IsValidJobKind(static_cast<int>(s->kind)) && s->kind != JobKind::None)
        ok = s->executor->Run(setup, reporter);
    reporter.PostProgress(100);
    Finish(s, index, ok && reporter.result() == sid::kStatusSucceed, reporter.result());
}

}  // namespace

JobRunner::JobRunner(AppContext& context, std::shared_ptr<JobLog> log,
                     std::shared_ptr<JobExecutor> executor, JobEvents& events)
    : context_(context),
      shared_(std::make_shared<Shared>(context, std::move(log), std::move(executor), events)) {
    shared_->strings = context.strings;
    shared_->settings = context.settings;
    shared_->multiLan = IsMultiLan(context.settings.interfaceName.kind());
}

JobRunner::~JobRunner() {
    std::lock_guard lock(shared_->eventsMutex);
    shared_->events = nullptr;
}

int JobRunner::PreCheck(JobKind kind, const UsbCounter& countUsb) const {
    const ToolSettings& t = context_.settings;
    int message = 0;
    if (IsLan(t.interfaceName.kind()) && t.lanHost.empty()) {
        message = 1003;
    } else if (IsMultiLan(t.interfaceName.kind()) && t.multiLanHosts.empty()) {
        message = 1004;
    } else if (IsUsb(t.interfaceName.kind()) && t.usbDevicePath.rfind("\\\\", 0) != 0) {
        // A fixed device path skips the search; a filter given in its place
        // is searched like the configured one.
        const std::string filter = t.usbDevicePath.empty()
                                       ? BuildUsbFilter(t.usbProductIds, t.usbSerialNumber)
                                       : t.usbDevicePath;
        const int count = countUsb ? countUsb(filter) : -1;
        if (count <= 0)
            message = 1012;
        else if (count > 1)
            message = 1013;
    }
    if (message != 0 && kind == JobKind::RestoreOnline)
        context_.settingModeState = SettingModeState::Online;
    return message;
}

std::vector<LanPrinter> JobRunner::Printers() const {
    std::vector<LanPrinter> printers;
    const ToolSettings& t = context_.settings;
    for (std::size_t i = 0; i < t.multiLanHosts.size() && i < t.multiLanPorts.size(); ++i) {
        printers.push_back({t.multiLanHosts[i], t.multiLanPorts[i]});
    }
    return printers;
}

bool JobRunner::Start(std::shared_ptr<const JobInputs> inputs, const std::vector<bool>& selected) {
    if (context_.jobRunning) return false;
    Shared& s = *shared_;
    std::vector<int> toStart;
    {
        std::lock_guard lock(s.mutex);
        if (s.running > 0) return false;
        s.settings = context_.settings;
        s.settingsShared = std::make_shared<const ToolSettings>(context_.settings);
        s.strings = context_.strings;
        s.inputs = std::move(inputs);
        s.kind = s.inputs ? s.inputs->kind : JobKind::None;
        s.titleId = s.inputs ? JobTitleId(*s.inputs) : JobTitleId(JobKind::None);
        s.multiLan = IsMultiLan(s.settings.interfaceName.kind());
        s.timeScale = Clock::ScaleFromEnvironment();
        // A Restore to Online takes the printers online whatever its jobs
        // do: the state is cleared once here, its value handed to each job.
        s.settingMode = s.kind == JobKind::RestoreOnline
                            ? context_.settingModeState.exchange(SettingModeState::Online)
                            : context_.settingModeState.load();
        context_.cancelRequested = false;
        s.runState = RunState::Running;
        s.overall = 0;
        s.decided = false;
        s.inProgress = 0;
        s.maxInProgress = 0;
        s.connections.clear();
        if (s.multiLan) {
            const std::size_t count = Printers().size();
            s.states.assign(count, kPrinterWaiting);
            for (std::size_t i = 0; i < count; ++i) {
                if (i < selected.size() && !selected[i]) s.states[i] = kPrinterExcluded;
                s.connections.push_back(BuildConnection(s.settings, s.strings, i).settings);
            }
            s.progress.assign(count, 0);
            s.log->Start(s.titleId, true);
            for (std::size_t i = 0;
                 i < std::min<std::size_t>(count, static_cast<std::size_t>(s.maxWorkers)); ++i) {
                const int n = s.NextPrinterLocked(true);
                if (n < 0) break;
                toStart.push_back(n);
            }
        } else {
            s.states.assign(1, kPrinterWaiting);
            s.connections.push_back(BuildConnection(s.settings, s.strings).settings);
            s.progress.assign(1, 0);
            s.log->Start(s.titleId, false);
            s.Claim(0);
            toStart.push_back(0);
        }
        if (toStart.empty()) {
            s.decided = true;
            s.runState = RunState::Failed;
            return false;
        }
    }
    Launch(shared_, toStart);
    return true;
}

void JobRunner::SetMaxWorkers(int count) {
    std::lock_guard lock(shared_->mutex);
    shared_->maxWorkers = std::clamp(count, 1, kMostWorkers);
}

void JobRunner::RequestCancel() {
    std::lock_guard lock(shared_->mutex);
    if (shared_->running == 0) return;
    shared_->runState = RunState::CancelRequested;
    context_.cancelRequested = true;
}

bool JobRunner::WaitForWorkers(int protocolMs) const {
    const Clock clock(shared_->timeScale);
    std::unique_lock lock(shared_->mutex);
    return shared_->idle.wait_for(lock, std::chrono::milliseconds(clock.ToRealMs(protocolMs)),
                                  [&] { return shared_->running == 0; });
}

bool JobRunner::Retry() {
    Shared& s = *shared_;
    std::vector<int> toStart;
    {
        std::lock_guard lock(s.mutex);
        if (s.running > 0 || context_.jobRunning) return false;
        context_.cancelRequested = false;
        s.runState = RunState::Running;
        s.overall = 0;
        s.decided = false;
        s.inProgress = 0;
        if (s.multiLan) {
            int failed = 0;
            for (std::size_t i = 0; i < s.states.size(); ++i) {
                if (s.states[i] != kPrinterFailed) continue;
                s.states[i] = kPrinterWaiting;
                s.progress[i] = 0;
                ++failed;
            }
            for (int i = 0; i < std::min(failed, s.maxWorkers); ++i) {
                const int n = s.NextPrinterLocked(true);
                if (n < 0) break;
                toStart.push_back(n);
            }
        } else {
            s.progress[0] = 0;
            s.Claim(0);
            toStart.push_back(0);
        }
        if (toStart.empty()) {
            s.decided = true;
            s.runState = RunState::Succeeded;
            return false;
        }
    }
    Launch(shared_, toStart);
    return true;
}

bool JobRunner::multiLan() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->multiLan;
}

RunState JobRunner::state() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->runState;
}

int JobRunner::overallResult() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->overall;
}

int JobRunner::runningWorkers() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->running;
}

std::vector<int> JobRunner::printerStates() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->states;
}

int JobRunner::progressTotal() const {
    std::lock_guard lock(shared_->mutex);
    int total = 0;
    for (int p : shared_->progress) total += p;
    return total;
}

int JobRunner::progressRange() const {
    std::lock_guard lock(shared_->mutex);
    const auto selected = std::count_if(shared_->states.begin(), shared_->states.end(),
                                        [](int st) { return st != kPrinterExcluded; });
    return 100 * static_cast<int>(selected);
}

int JobRunner::maxConcurrent() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->maxInProgress;
}

std::vector<LanPrinter> JobRunner::ErrorList() const {
    std::lock_guard lock(shared_->mutex);
    std::vector<LanPrinter> errors;
    for (std::size_t i = 0; i < shared_->states.size() && shared_->multiLan; ++i) {
        if (shared_->states[i] == kPrinterSucceeded) continue;
        if (i < shared_->settings.multiLanHosts.size() &&
            i < shared_->settings.multiLanPorts.size()) {
            errors.push_back(
                {shared_->settings.multiLanHosts[i], shared_->settings.multiLanPorts[i]});
        }
    }
    return errors;
}

}  // namespace rvq
