#include "cli/job_run.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <iostream>
#include <mutex>

#include "core/app/text.h"
#include "core/comm/job_events.h"
#include "core/comm/job_runner.h"
#include "core/comm/operations.h"
#include "core/comm/printer_port.h"

namespace rvq::cli {

namespace {

std::atomic<int> interrupts{0};

void OnInterrupt(int) {
    // A second Ctrl-C ends at once, whatever the printers are doing.
    if (interrupts.fetch_add(1) >= 1) ::_exit(130);
}

// Prints each display line; on a terminal keeps a progress bar below them.
class TerminalEvents : public JobEvents {
public:
    TerminalEvents(std::ostream& out, bool bar, int range) : out_(out), bar_(bar), range_(range) {}

    void OnLine(int, const std::string& line) override {
        std::lock_guard lock(mutex_);
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
                  << std::string(static_cast<std::size_t>(30 - filled), ' ') << "] " << percent << "%" << std::flush;
        drawn_ = true;
    }

    std::mutex mutex_;
    std::ostream& out_;
    bool bar_;
    int range_;
    int total_ = 0;
    bool drawn_ = false;
};

std::vector<bool> Selection(CliEnv& env, std::size_t count, std::string& error) {
    if (!env.options.pick) return {};
    std::vector<bool> selected(count, false);
    for (const std::string& item : Split(*env.options.pick, ',')) {
        const int n = ParseLeadingInt(item);
        if (n < 1 || static_cast<std::size_t>(n) > count || Trim(item) != std::to_string(n)) {
            error = "--pick: '" + item + "' is not an entry of the list (1 to " + std::to_string(count) + ")";
            return {};
        }
        selected[static_cast<std::size_t>(n - 1)] = true;
    }
    return selected;
}

int UsbCount(const std::string& filter) {
    std::vector<std::string> paths;
    if (!PrinterPort::EnumerateUsbDevices(filter, paths)) return -1;
    return static_cast<int>(paths.size());
}

}  // namespace

int RunPrinterJob(CliEnv& env, std::shared_ptr<JobInputs> inputs) {
    AppContext& context = env.context;
    TerminalEvents events(env.out, ::isatty(STDERR_FILENO) != 0, 100);
    JobRunner runner(context, env.document.sharedJobLog(), MakeOperationExecutor(context, env.document), events);

    if (const int message = runner.PreCheck(inputs->kind, UsbCount); message != 0) {
        env.interaction.Error(message, context.strings.Get(message));
        return kExitFailed;
    }
    std::string error;
    const std::vector<bool> selected = Selection(env, runner.Printers().size(), error);
    if (!error.empty()) return UsageError(env, error);

    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    ::sigemptyset(&action.sa_mask);
    struct sigaction previous {};
    ::sigaction(SIGINT, &action, &previous);
    interrupts = 0;

    if (!runner.Start(inputs, selected)) {
        ::sigaction(SIGINT, &previous, nullptr);
        env.err << "rvqtool: nothing to run (no printer selected)\n";
        return kExitUsage;
    }
    events.SetRange(runner.progressRange());
    bool cancelled = false;
    while (!runner.WaitForWorkers(200)) {
        if (interrupts > 0 && !cancelled) {
            cancelled = true;
            env.err << "\nrvqtool: cancelling (Ctrl-C again to quit at once)\n";
            runner.RequestCancel();
            if (!runner.WaitForWorkers(30000)) {
                env.err << "rvqtool: a printer job did not stop within 30 seconds; leaving it\n";
                break;
            }
        }
    }
    ::sigaction(SIGINT, &previous, nullptr);

    if (env.options.logFile && !env.document.WriteJobLog(*env.options.logFile, context.strings, context.isJapanese)) {
        env.interaction.Error(1011, context.strings.Get(1011));
    }
    const int result = runner.overallResult();
    if (runner.multiLan()) {
        const auto states = runner.printerStates();
        int ok = 0, failed = 0;
        for (int s : states) {
            ok += s == kPrinterSucceeded;
            failed += s == kPrinterFailed || s == kPrinterWaiting;
        }
        env.out << ok << " succeeded, " << failed << " failed\n";
    }
    if (runner.runningWorkers() > 0) ::_exit(kExitFailed);  // a stuck worker must not outlive main's objects
    return result == 1501 && runner.state() == RunState::Succeeded ? kExitOk : kExitFailed;
}

}  // namespace rvq::cli
