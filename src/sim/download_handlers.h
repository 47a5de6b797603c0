#pragma once

#include "sim/command_decoder.h"
#include "sim/sim_printer.h"

namespace rvq::sim {

// Registers the firmware and BASIC load and program commands.
void RegisterDownloadCommands(SimPrinter& printer);
// Registers memory allocation and format; the printer answers neither and
// is busy while it writes its flash.
void RegisterMemoryCommands(SimPrinter& printer);

// The statuses a printer sends while an image comes in: ready for data at
// its start, and on a serial line one "next block" per block.
void HandleDataEvent(SimPrinter& printer, const ReceivedCommand& event, Response& response);

}  // namespace rvq::sim
