// rvq-printer-sim: simulated printers for the demo and the end-to-end tests.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "core/comm/clock.h"
#include "sim/sim_options.h"
#include "sim/sim_server.h"

int main(int argc, char** argv) {
    using namespace rvq::sim;
    SimOptions options;
    std::string error;
    if (!ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "rvq-printer-sim: %s\n\n%s", error.c_str(), SimUsage().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(SimUsage().c_str(), stdout);
        return 0;
    }
    std::set<std::string> definitions;
    for (const PrinterSetup& setup : options.printers) {
        if (!setup.printer.definitionsPath.empty()) definitions.insert(setup.printer.definitionsPath);
    }
    for (const std::string& path : definitions) {
        if (!std::ifstream(path)) {
            std::fprintf(stderr, "rvq-printer-sim: cannot read %s\n", path.c_str());
            return 1;
        }
    }

    // The signals are taken by sigwait below, not by the serving thread.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    SimServer server(rvq::Clock::FromEnvironment());
    for (PrinterSetup& setup : options.printers) server.AddPrinter(std::move(setup));
    if (!options.logPath.empty() && !server.log().OpenFile(options.logPath)) {
        std::fprintf(stderr, "rvq-printer-sim: cannot open the log %s\n", options.logPath.c_str());
        return 1;
    }
    if (!server.Start(error)) {
        std::fprintf(stderr, "rvq-printer-sim: %s\n", error.c_str());
        return 1;
    }
    for (int i = 0; i < server.PrinterCount(); ++i) {
        std::printf("%s\n", server.Announcement(i).c_str());
        std::fflush(stdout);
    }
    int received = 0;
    sigwait(&stopSignals, &received);
    server.Stop();
    return 0;
}
