// rvq-printer-sim: simulated printers for the demo and the end-to-end tests.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/app/file_locations.h"
#include "core/app/program_info.h"
#include "core/comm/job/clock.h"
#include "core/comm/port/open_file_limit.h"
#include "sim/sim_options.h"
#include "sim/sim_server.h"

int main(int argc, char** argv) {
    using namespace rvq::sim;
    SimOptions options;
    std::string error;
    if (!ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fputs(rvq::UsageErrorText("rvq-printer-sim", error).c_str(), stderr);
        return rvq::kUsageExitCode;
    }
    if (options.help) {
        std::fputs(SimUsage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("%s\n", rvq::VersionLine("rvq-printer-sim").c_str());
        return 0;
    }
    // Without --definitions a printer knows its model from the definition
    // file the tool would use here, so it answers every item of it.
    bool needsDefinitions = false;
    for (const PrinterSetup& setup : options.printers)
        needsDefinitions = needsDefinitions || setup.printer.definitionsPath.empty();
    if (needsDefinitions) {
        const rvq::FileLocations locations =
            rvq::ResolveFileLocations(rvq::LocationInputs::FromProcess());
        const rvq::DataFile found = rvq::FindDataFile(locations, rvq::kDefinitionsFileName);
        if (!found.found()) {
            std::fprintf(stderr, "rvq-printer-sim: %s\n",
                         rvq::NotFoundMessage(rvq::kDefinitionsFileName, found).c_str());
            return 1;
        }
        std::fprintf(stderr, "rvq-printer-sim: printer definitions %s (%s)\n", found.path.c_str(),
                     rvq::DataPlaceName(found.place));
        for (PrinterSetup& setup : options.printers) {
            if (setup.printer.definitionsPath.empty()) setup.printer.definitionsPath = found.path;
        }
    }
    std::set<std::string> definitions;
    for (const PrinterSetup& setup : options.printers) {
        if (!setup.printer.definitionsPath.empty())
            definitions.insert(setup.printer.definitionsPath);
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

    // A fleet holds a listening socket per printer and a socket per link.
    std::ignore = rvq::RaiseOpenFileLimit();
    SimServer server(rvq::Clock::FromEnvironment());
    server.LogConnections(options.logConnections);
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
