#pragma once

#include <string>

namespace rvq::docgen {

// The manual pages, made from the programs' own option and command tables
// and help texts.
std::string RvqtoolManPage();
std::string SimulatorManPage();
std::string DesktopManPage();

}  // namespace rvq::docgen
