#pragma once

#include "sim/sim_printer.h"

namespace rvq::sim {

// Registers the parameter commands: get replies from the parameter store,
// set commands decoded with the printer's own table, and the maintenance
// commands of the "ZS" block. The printer takes them in the setting mode.
void RegisterParameterCommands(SimPrinter& printer);

}  // namespace rvq::sim
