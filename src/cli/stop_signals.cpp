#include "cli/stop_signals.h"

#include <signal.h>
#include <unistd.h>

namespace rvq::cli {

namespace {

std::atomic<int> firstSignal{0};
std::atomic<int> signalCount{0};
std::atomic<bool> stopRequested{false};

// Only lock-free atomics and _exit: safe in a signal handler.
void OnStopSignal(int signal) {
    int none = 0;
    firstSignal.compare_exchange_strong(none, signal);
    if (signalCount.fetch_add(1) >= 1) ::_exit(128 + signal);
    stopRequested = true;
}

}  // namespace

void InstallStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

int StopSignal() { return firstSignal.load(); }

int StopCount() { return signalCount.load(); }

const std::atomic<bool>& StopRequested() { return stopRequested; }

const char* SignalName(int signal) {
    switch (signal) {
        case SIGINT:
            return "SIGINT";
        case SIGTERM:
            return "SIGTERM";
        case SIGHUP:
            return "SIGHUP";
        default:
            return "a signal";
    }
}

}  // namespace rvq::cli
