#pragma once

#include <string>
#include <vector>

#include "sim/info_blocks.h"
#include "sim/sim_printer.h"

namespace rvq::sim {

// Registers the commands that read the information blocks (versions,
// settings, data log); the printer answers them in the setting mode.
void RegisterInformationCommands(SimPrinter& printer);

// The lines of the version block and the sections of the settings block.
std::vector<std::string> VersionLines(const SimPrinter& printer);
std::vector<InfoSectionText> SettingsSections(const SimPrinter& printer);
// The model's destination code for the printer's destination index.
std::string DestinationCode(const SimPrinter& printer);

}  // namespace rvq::sim
