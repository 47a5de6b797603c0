#pragma once

#include <string>

namespace rvq::docgen {

// Shell completion for rvqtool, from the same tables as its manual page.
std::string BashCompletion();
std::string ZshCompletion();

}  // namespace rvq::docgen
