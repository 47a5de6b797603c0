#pragma once

#include <string>
#include <vector>

#include "sim/sim_server.h"

namespace rvq::sim {

// The command line of rvq-printer-sim.
struct SimOptions {
    std::vector<PrinterSetup> printers;
    std::string logPath;
    bool stepAddress = false;     // --printers copies step the address, not the port
    bool logConnections = false;  // log connection counts too
    bool help = false;
    bool version = false;
};

// Options before the first endpoint (--lan, --pty, --usb) apply to every
// printer; options after an endpoint to that endpoint's printer only.
// --printers N makes each endpoint stand for N printers: on consecutive
// ports, or with --step-address on consecutive loopback addresses. False with a
// reason in `error` on a bad command line.
[[nodiscard]] bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options,
                                   std::string& error);

std::string SimUsage();

}  // namespace rvq::sim
