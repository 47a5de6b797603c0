#pragma once

#include <string>

namespace rvq::docgen {

// The manual pages, made from the programs' own option and command tables
// and help texts.
std::string RvqtoolManPage();
std::string SimulatorManPage();
std::string DesktopManPage();

// Shell completion for rvqtool, from the same tables.
std::string BashCompletion();
std::string ZshCompletion();

}  // namespace rvq::docgen
